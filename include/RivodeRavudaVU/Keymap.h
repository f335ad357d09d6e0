// Key maps: what the terminal does when a key combination is pressed.
//
// A mapping (KeyMapEntry) binds a key code with modifiers (KeyCodes.h) to a function code and,
// for the functions that take them, a value and arguments. A Keymap holds its mappings in a
// chained hash table keyed by the key code, and may own a fallback map that the lookups consult
// for keys it does not map itself; a map loaded from a ".key" file gets the built-in default
// mappings as its fallback.
//
// A map is used by one thread at a time.
#pragma once

#include <RivodeRavudaVU/KeyCodes.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

struct KeyMapEntry {
    std::uint32_t key = 0;           // key code with modifiers
    std::uint32_t functionCode = 0;  // a row of the function table
    // SEND: the text sent, as stored (backslash-octal escapes unprocessed); RUN: the script;
    // LAUNCH: the program; SET_BUTTONBAR: the button bar's name; empty otherwise.
    YUnicodeString value;
    // RUN: the script's arguments; LAUNCH: the program's arguments; empty otherwise.
    YUnicodeString arguments;
    bool operator==(const KeyMapEntry&) const = default;
};

// What editors and hosts use of a key map. The lookups answer from the map's own mappings, then
// from its fallback map; a key mapped nowhere has function code 0 and empty texts.
struct KeymapParseState;

class IKeymap {
public:
    virtual ~IKeymap() = default;
    virtual std::uint32_t GetFunctionCode(std::uint32_t key) const = 0;
    virtual YUnicodeString GetValue(std::uint32_t key) const = 0;
    // Code 0 removes the key's mapping. Otherwise an existing mapping takes the code and keeps
    // its texts, and a key without one gets a mapping with empty texts.
    virtual void SetFunctionCode(std::uint32_t key, std::uint32_t code) = 0;
    // Change the texts of an existing mapping; nothing happens for a key without one.
    virtual void SetValue(std::uint32_t key, std::u16string_view text) = 0;
    virtual void SetArguments(std::uint32_t key, std::u16string_view text) = 0;
};

class Keymap : public IKeymap {
public:
    static constexpr std::size_t kBucketCount = 4096;

    Keymap();
    // A copy takes the mappings (and the bucket count) only: it has no fallback map. The
    // version text is copied too, as it says how the mappings' lines were read.
    Keymap(const Keymap& other);
    Keymap& operator=(const Keymap& other);
    ~Keymap() override;

    std::uint32_t GetFunctionCode(std::uint32_t key) const override;
    YUnicodeString GetValue(std::uint32_t key) const override;
    void SetFunctionCode(std::uint32_t key, std::uint32_t code) override;
    void SetValue(std::uint32_t key, std::u16string_view text) override;
    void SetArguments(std::uint32_t key, std::u16string_view text) override;

    // Reads a ".key" file (a path that cannot be opened is tried again in the folder "keymaps"
    // beside the program). Lines in error are reported and skipped: with one or two the map is
    // usable and report holds the warning 0xA1370002 (path, the lines' messages); at the third
    // reading stops and the load fails with 0xE1370001 (path, the messages), keeping the mappings
    // read so far. A file that cannot be opened fails with 0xE1370001 (path, the system's
    // reason). After a load that did not fail the fallback map holds the default mappings.
    [[nodiscard]] virtual bool LoadFile(std::u16string_view path, YReportMessageParams& report);
    // The same for a plain file map, keeping each line's error in state (rivode lists them).
    [[nodiscard]] bool LoadFile(std::u16string_view path, YReportMessageParams& report,
                                KeymapParseState& state);
    // Writes the map as a ".key" file: UTF-8 with byte-order mark, CR LF, "Version = 2" and then
    // one line a mapping in the sorted order; the fallback map is not written. false with the
    // system's reason in report when the file cannot be written.
    [[nodiscard]] virtual bool SaveFile(std::u16string_view path, YReportMessageParams& report);
    // Whether the lines were written before the format had a version (the version text is neither
    // "Version = 1" nor "Version = 2"): such SEND texts double their "\r\n" escapes when read.
    virtual bool IsUnversioned() const;
    // Whether a LAUNCH mapping's program and arguments were one text (the version text is not
    // "Version = 2"): such texts are split when read.
    virtual bool HasCombinedLaunchCommand() const;

    // As LoadFile, with the lines given by nextLine (it fills the next line, false at the end).
    // path only names the source in reports. This is the parser behind LoadFile, for callers
    // that hold the text themselves.
    [[nodiscard]] bool LoadLines(const std::function<bool(YUnicodeString&)>& nextLine,
                                 std::u16string_view path, YReportMessageParams& report,
                                 KeymapParseState& state);

    // The arguments of the key's mapping, with the fallback rule of the lookups.
    YUnicodeString GetArguments(std::uint32_t key) const;
    // The key's own mapping (the fallback map is not consulted); nullptr when it has none.
    const KeyMapEntry* Find(std::uint32_t key) const;
    // Stores entry, replacing the key's mapping; an entry with function code 0 removes it.
    void Set(KeyMapEntry entry);
    void Clear();
    std::size_t GetSize() const { return nodes_.size(); }
    std::size_t GetBucketCount() const { return bucketCount_; }

    // The mappings sorted by their modifiers (key AND 0x5E000000), then by the whole key code:
    // the order in which files and sessions store them.
    std::vector<KeyMapEntry> GetSortedEntries() const;
    // The stored form (with path variables) of the script of every RUN mapping, in sorted order:
    // the files a session depends on through its key map.
    YStringArray GetReferencedScripts() const;

    // Same mappings (code, value and arguments of every key), and equal fallback maps or none
    // on both sides.
    bool operator==(const Keymap& other) const;

    // The file's version line ("Version = 2"), or for a session's map the stored value it was read
    // from; empty for a file without one.
    const YUnicodeString& GetVersion() const { return version_; }
    void SetVersion(YUnicodeString version) { version_ = std::move(version); }
    const Keymap* GetFallback() const { return fallback_.get(); }
    void SetFallback(std::unique_ptr<Keymap> fallback) { fallback_ = std::move(fallback); }

    // Counts every change of the mappings, so that a holder of a form made from them (the
    // lines of a session's map) can tell whether it is still current.
    std::uint64_t GetChangeCount() const { return changes_; }

private:
    static constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
    struct Node {
        KeyMapEntry entry;
        std::uint32_t next = kNoEntry;  // the next node of the same bucket
    };

    const KeyMapEntry* Lookup(std::uint32_t key) const;
    KeyMapEntry* FindMutable(std::uint32_t key);
    std::uint32_t FindNode(std::uint32_t key) const;
    void RemoveNode(std::uint32_t index);
    std::size_t BucketOf(std::uint32_t key) const { return key % bucketCount_; }

    YUnicodeString version_;
    // The chains are indexes into nodes_, so that a map is two allocations however many
    // mappings it holds, and copying one copies two arrays. heads_ (a chain's first node, one per
    // bucket) is allocated at the first insertion, so that empty maps (most sessions') cost
    // nothing.
    std::vector<std::uint32_t> heads_;
    std::vector<Node> nodes_;
    std::size_t bucketCount_ = kBucketCount;
    std::uint64_t changes_ = 0;
    std::unique_ptr<Keymap> fallback_;
};

// Fills map with the 45 built-in mappings (function keys F1-F4 as the VT PF keys, the control
// characters on Ctrl combinations, Backspace and Delete, paging and the cursor keys).
void FillDefaultMappings(Keymap& map);

#pragma GCC visibility pop
