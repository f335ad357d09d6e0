// Reads arbitrary text as one key-map line, in a map of each version: the line never stops
// reading on its own, counts at most one error per character, stores at most one mapping, and
// that mapping writes a line that reads back as itself.
#include <RivodeRavudaVU/KeymapLine.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const YUnicodeString line =
        rivode::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::u16string_view version : {u"", u"Version = 1", u"Version = 2"}) {
        Keymap map;
        map.SetVersion(YUnicodeString(version));
        KeymapParseState state;
        Check(ParseKeymapLine(map, line, state));
        Check(state.lineNumber == 1);
        Check(static_cast<std::size_t>(state.errorCount) <= line.size() + 1);
        Check(map.GetSize() <= 1);
        for (const KeyMapEntry& entry : map.GetSortedEntries()) {
            const YUnicodeString written = FormatKeymapLine(entry);
            if (KeyCodeToName(entry.key & ~(kKeyAlt | kKeyCtrl | kKeyShift | kKeyExtended))
                    .find(u' ') != YUnicodeString::npos) {
                continue;  // names with a blank are written as they stand and not read back
            }
            Keymap again;
            again.SetVersion(u"Version = 2");
            KeymapParseState reread;
            Check(ParseKeymapLine(again, written, reread) && reread.errorCount == 0);
            const KeyMapEntry* read = again.Find(entry.key);
            Check(read != nullptr && *read == entry);
        }
    }
    return 0;
}
