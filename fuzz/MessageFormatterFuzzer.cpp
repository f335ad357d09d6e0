// Feeds arbitrary message texts and insertion strings to the insert formatter in every mode.
//
// Input: byte 0 chooses the modes and the number for the number form; the rest is read as
// UTF-16 code units (so unpaired surrogates and every control character occur), split at each
// U+FFFF: the first piece is the raw text, the others the insertion strings.
#include "reports/MessageFormatter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rivode::reports;
    if (size == 0) {
        return 0;
    }
    const std::uint8_t control = data[0];
    std::vector<YUnicodeString> pieces(1);
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (unit == 0xFFFF) {
            pieces.emplace_back();
        } else {
            pieces.back().push_back(unit);
        }
    }
    const YUnicodeString raw = pieces.front();
    const std::vector<YUnicodeString> strings(pieces.begin() + 1, pieces.end());

    (void)FindHighestInsert(raw);
    YUnicodeString out;
    for (const bool singleLine : {false, true}) {
        MessageFormatOptions options;
        options.singleLine = singleLine;
        (void)FormatMessageText(raw, strings, options, out);

        // With inserts ignored formatting cannot fail, and no escape or line break more than
        // doubles.
        options.ignoreInserts = true;
        if (!FormatMessageText(raw, strings, options, out) || out.size() > 2 * raw.size()) {
            std::abort();
        }
    }
    const std::uint64_t number = control & 0x80 ? UINT64_MAX - control : control;
    (void)FormatNumberInsert(raw, number, (control & 1) != 0, out);
    return 0;
}
