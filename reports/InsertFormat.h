// The printf-style format between the exclamation marks of an insert ("%1!08x!") and how it
// applies to one insertion argument.
//
// Insertion arguments are always strings here. A numeric conversion (d i u o x X p c e f g a)
// meeting a string that holds a number (decimal, optionally signed, or "0x" hexadecimal) formats
// that number; meeting any other string it shows the string as "s" would, padded to the width.
// A report then still reads well when a caller passed text where a number was expected.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <string_view>

namespace rivode::reports {

struct InsertFormat {
    bool leftAlign = false;  // '-'
    bool plusSign = false;   // '+'
    bool spaceSign = false;  // ' '
    bool alternate = false;  // '#'
    bool zeroPad = false;    // '0'
    int width = 0;
    int precision = -1;  // -1: none given
    int valueBits = 0;   // 8 ("hh"), 16 ("h"), 0: the argument's own size
    char16_t conversion = u's';
};

// Widths and precisions above this are refused as malformed: a message text must not be able
// to ask for megabytes of padding.
inline constexpr int kMaxInsertWidth = 1024;

// Parses the text between the marks ("08x", "-10s", "I64u"). false for anything else, including
// '*' widths, which would take their value from a further argument.
[[nodiscard]] bool ParseInsertFormat(std::u16string_view formatText, InsertFormat& format);

// One insertion argument: a string, or a number handed in as a number (AddFormatted).
struct InsertValue {
    std::u16string_view text;
    bool isNumber = false;
    bool is64Bit = false;
    std::uint64_t number = 0;
};

void AppendFormattedInsert(const InsertFormat& format, const InsertValue& value,
                           YUnicodeString& out);

}  // namespace rivode::reports
