// ProfileKeymap: a session's own key map, stored as the multi-string "Keymap v5" of the session
// key, one key-map line (KeymapLine.h) a string, in the sorted order of the mappings.
//
// It is both the stored list of lines and the parsed map: editors change it through the IKeymap
// slots, scripting and rivode through the list of lines (the next comparison or save reads
// changed lines back into mappings). Older sessions stored the map under other names, tried in
// this order when "Keymap v5" is absent: "Keymap v4" (lines), "Keymap v2" and "Keymap" (binary
// records), "Keymap v3" (lines written before the format had a version). The name found is the
// map's version text; such a map is pending, so the next save stores it as "Keymap v5". Only
// "Keymap v5" is ever written.
//
// It keeps a snapshot of its mappings taken after each load and save: it counts as changed when
// the mappings differ from the snapshot. Without a stored map it holds no mappings and is not
// written until something is mapped. One thread at a time.
#pragma once

#include <RivodeRavudaVU/Keymap.h>
#include <RivodeRavudaVU/YProfile2.h>

#include <cstdint>
#include <span>
#include <string_view>

#pragma GCC visibility push(default)

class ProfileKeymap : public YProfile2<YStringArray, YProfileMultiSz>, public Keymap {
public:
    static constexpr std::u16string_view kValueName = u"Keymap v5";

    ProfileKeymap();
    ProfileKeymap(const ProfileKeymap&) = default;
    ProfileKeymap& operator=(const ProfileKeymap&) = delete;

    // The record row: reads the newest stored form there is (see above). name is ignored: the
    // value is always written as "Keymap v5".
    bool Init(const YProfileKey* key, YUnicodeString name, const YStringArray& defaultValue);

    bool Load(const YProfileKey* key) override;
    [[nodiscard]] bool Save(const YProfileKey& key) override;
    bool IsChanged() const override;
    // When the mappings differ from the snapshot the value becomes pending; then the snapshot is
    // retaken.
    void Commit() override;
    // The mappings of the snapshot come back.
    void Revert() override;
    bool CopyFrom(const YProfileData& other) override;
    bool CopyChangesFrom(const YProfileData& source) override;
    [[nodiscard]] bool GetTextVariant(YVariant& value, YReportMessageParams& report) const override;

    // A session's map is not a file: these do nothing and succeed.
    [[nodiscard]] bool LoadFile(std::u16string_view path, YReportMessageParams& report) override;
    [[nodiscard]] bool SaveFile(std::u16string_view path, YReportMessageParams& report) override;
    // True for a map read from "Keymap v3".
    bool IsUnversioned() const override;
    // True for a map read from "Keymap", "Keymap v2", "Keymap v3" or "Keymap v4".
    bool HasCombinedLaunchCommand() const override;

    // The stored lines, brought up to date with the mappings.
    const YStringArray& GetLines() const;
    // Replaces the mappings by those of map (its version and fallback are not taken).
    void AssignMappings(const Keymap& map);

private:
    // Reads changed lines back into mappings, then rewrites the lines from the mappings.
    void Synchronize() const;
    void ParseLines(const YStringArray& lines);
    bool ReadStored(const YProfileKey& key);
    void TakeSnapshot();

    Keymap snapshot_;
    // The lines as last made from the mappings; lines that differ were changed from outside.
    mutable YStringArray generatedLines_;
    // The mappings' change count (Keymap::GetChangeCount) when generatedLines_ were made.
    static constexpr std::uint64_t kNotGenerated = ~std::uint64_t{0};
    mutable std::uint64_t generatedAt_ = kNotGenerated;
};

// Reads the binary records older sessions stored ("Keymap v2", "Keymap"): a big-endian record
// count, then per record a big-endian key code (older modifier bits 0x100-0x800 converted), the
// function name and the value, both NUL-terminated, UTF-8 after a byte-order mark and
// Windows-1252 otherwise. Records whose function is unknown are skipped; reading stops without
// error at the end of bytes or at a text without its NUL. SEND texts double their "\r\n" escapes
// and, when map has combined launch commands, LAUNCH texts are split.
void ReadLegacyKeymapRecords(Keymap& map, std::span<const std::uint8_t> bytes);

#pragma GCC visibility pop
