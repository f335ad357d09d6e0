// Reads arbitrary bytes as a ".key" file: the byte-order mark chooses the encoding, the text is
// split into lines and loaded as LoadFile loads them. A load that succeeds has fewer than three
// errors and the defaults behind it; every mapping read writes a line that reads back as the
// same mapping. The same bytes are also read as the binary records older sessions stored.
#include "storage/text/TextCodec.h"

#include <RivodeRavudaVU/KeymapLine.h>
#include <RivodeRavudaVU/ProfileKeymap.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The lines of text, split at CR LF, LF or CR as YTextFile splits them.
std::vector<YUnicodeString> SplitLines(std::u16string_view text) {
    std::vector<YUnicodeString> lines;
    YUnicodeString line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') {
            line.push_back(text[i]);
            continue;
        }
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        }
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

// Key names with a blank are written as they stand and cannot be read back.
bool ReadsBack(const KeyMapEntry& entry) {
    return KeyCodeToName(entry.key & ~(kKeyAlt | kKeyCtrl | kKeyShift | kKeyExtended)).find(u' ') ==
           YUnicodeString::npos;
}

void CheckRoundTrip(const Keymap& map) {
    for (const KeyMapEntry& entry : map.GetSortedEntries()) {
        if (!ReadsBack(entry)) {
            continue;
        }
        Keymap again;
        again.SetVersion(u"Version = 2");
        KeymapParseState state;
        Check(ParseKeymapLine(again, FormatKeymapLine(entry), state));
        Check(state.errorCount == 0);
        const KeyMapEntry* read = again.Find(entry.key);
        Check(read != nullptr && *read == entry);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t markLength = 0;
    const YTextFile::Encoding encoding = rivode::storage::DetectByteOrderMark(bytes, markLength);
    YUnicodeString text;
    (void)rivode::storage::DecodeText(encoding, bytes.substr(markLength), text);
    const std::vector<YUnicodeString> lines = SplitLines(text);

    Keymap map;
    KeymapParseState state;
    YReportMessageParams report;
    std::size_t next = 0;
    const bool loaded = map.LoadLines(
        [&](YUnicodeString& line) {
            if (next == lines.size()) {
                return false;
            }
            line = lines[next++];
            return true;
        },
        u"fuzz.key", report, state);
    Check(loaded == (state.errorCount < KeymapParseState::kErrorLimit));
    Check(loaded == (map.GetFallback() != nullptr));
    Check(state.errors.size() == static_cast<std::size_t>(state.errorCount));
    CheckRoundTrip(map);

    // Binary records may hold any text, line breaks included: they are only read.
    Keymap records;
    records.SetVersion(u"Keymap v2");
    ReadLegacyKeymapRecords(records, {data, size});
    Check(records.GetSortedEntries().size() == records.GetSize());
    return 0;
}
