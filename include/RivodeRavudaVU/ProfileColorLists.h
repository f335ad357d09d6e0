// The application-wide lists of color schemes ("Color Schemes" of the GUI sub-record) and ANSI
// palettes ("ANSI Color Palettes"), each a multi-string of lines (ColorScheme.h) with one current
// record that editors select, change and write back.
//
// Loading builds the built-in list first: a value that is absent or empty gives the built-ins
// and counts as not stored (it is written once the list changes). Names are unique without
// regard to case. Saving first writes the current record back into the line of its name (a
// record whose line was removed is not added again), then stores the lines when they changed,
// when the value is pending, or into a YProfileCopyKey. One thread at a time.
#pragma once

#include <RivodeRavudaVU/ColorScheme.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <optional>

#pragma GCC visibility push(default)

class ProfileColorsBase : public YProfile2<YStringArray, YProfileMultiSz> {
public:
    // The position of the line named name (letter case ignored).
    std::optional<std::size_t> IndexOf(std::u16string_view name) const;
    // The names in list order.
    YStringArray GetNames() const;
    // Removes the line named name, keeping the order of the others; false when there is none.
    bool Remove(std::u16string_view name);
    // Checks a new name for the list: not empty after trimming, no comma, not in use (letter
    // case ignored) by another line than the one named except. false with the reason in report.
    [[nodiscard]] bool CheckNewName(std::u16string_view name, std::u16string_view except,
                                    YReportMessageParams& report) const;
    // Renames a line (and the current record when it is that line). false with the reason when
    // there is no such line or the new name is refused.
    [[nodiscard]] bool Rename(std::u16string_view oldName, std::u16string_view newName,
                              YReportMessageParams& report);

    [[nodiscard]] bool Save(const YProfileKey& key) override;

protected:
    struct NameMessages {
        std::uint32_t empty;
        std::uint32_t comma;
        std::uint32_t exists;
    };
    ProfileColorsBase(YUnicodeString name, NameMessages messages);
    ProfileColorsBase(const ProfileColorsBase&) = default;

    // Reads the lines (the built-ins when absent or empty); baseline := them.
    bool InitLines(const YProfileKey* key, YUnicodeString name);
    // Replaces the line whose name is that of line, or appends it.
    void ReplaceOrAppend(const YUnicodeString& line);
    void ReplaceIfPresent(const YUnicodeString& line);

    virtual YStringArray BuiltInLines() const = 0;
    virtual YUnicodeString CurrentLine() const = 0;
    virtual void RenameCurrent(std::u16string_view oldName, std::u16string_view newName) = 0;

private:
    NameMessages messages_;
};

// Older configurations kept each scheme as a 68-byte binary value (ColorScheme.h) named after
// the scheme, in this subkey of the key that now holds the list of lines.
inline constexpr std::u16string_view kLegacyColorSchemesKey = u"Color Schemes";
// The lines of the schemes stored there, in listing order, each with the palette "Standard".
// Values of another kind or size, and names that are empty or hold a comma, are skipped. Reads
// only: the older values are left as they are.
YStringArray ReadLegacyColorSchemes(const YProfileKey& key);

class ProfileColorSchemeListV2 : public ProfileColorsBase {
public:
    ProfileColorSchemeListV2();
    ProfileColorSchemeListV2(const ProfileColorSchemeListV2&) = default;
    using YProfile2::operator=;

    // The record row: loads the lines, then makes the default scheme current. Without stored
    // lines, the schemes of the older binary form (kLegacyColorSchemesKey) join the built-ins,
    // replacing a built-in of the same name; the list is then stored at the next save.
    bool Init(const YProfileKey* key, YUnicodeString name, const YStringArray& defaultValue);
    // Whether the scheme named name may be deleted or renamed: not the schemes the program
    // relies on (the one sessions fall back to, green on black, and the one whose colors follow
    // the platform). false with the reason (0xE1380320 or 0xE1380321) in report.
    [[nodiscard]] bool CheckRemovable(std::u16string_view name, YReportMessageParams& report) const;
    [[nodiscard]] bool CheckRenamable(std::u16string_view name, YReportMessageParams& report) const;
    // Whether the colors of the scheme named name may be edited: not those of the scheme that
    // follows the platform. false with the reason (0xE1380322) in report.
    [[nodiscard]] bool CheckEditable(std::u16string_view name, YReportMessageParams& report) const;
    // Makes the scheme named name (letter case ignored) current, or the first one when none is.
    void Select(std::u16string_view name);
    // Writes the current record into the line of its name, or appends it.
    void AddOrReplaceCurrent();
    // The scheme whose colors follow the platform takes the platform's window-text color as its
    // foregrounds and the window color as its backgrounds.
    void RefreshPlatformScheme();

    ColorSchemeEntry current;

protected:
    YStringArray BuiltInLines() const override;
    YUnicodeString CurrentLine() const override;
    void RenameCurrent(std::u16string_view oldName, std::u16string_view newName) override;
};

class ProfileAnsiPaletteList : public ProfileColorsBase {
public:
    ProfileAnsiPaletteList();
    ProfileAnsiPaletteList(const ProfileAnsiPaletteList&) = default;
    using YProfile2::operator=;

    // The record row: loads the lines, then makes the first palette current.
    bool Init(const YProfileKey* key, YUnicodeString name, const YStringArray& defaultValue);
    void Select(std::u16string_view name);
    void AddOrReplaceCurrent();

    AnsiPalette current;

protected:
    YStringArray BuiltInLines() const override;
    YUnicodeString CurrentLine() const override;
    void RenameCurrent(std::u16string_view oldName, std::u16string_view newName) override;
};

#pragma GCC visibility pop
