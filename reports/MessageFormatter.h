// The insert syntax of message texts, formatted into the text a report shows.
//
//   %1 .. %99     the insertion strings; "%1!fmt!" applies a printf-style format (InsertFormat.h)
//   %%            a percent sign          %n   a hard line break ("\r\n")
//   %0            ends the text here, so without its final line break
//   "% "          a blank that survives at the end of a line
//   %r            a carriage return       %t   a tab
//   %.  %!        a period, an exclamation mark (any other character after '%' stands for itself)
//
// Ordinary line breaks of the text ("\r\n", or a lone "\n" or "\r") come out as "\r\n", or as a
// single blank in single-line mode. Insertion strings are copied as they are.
//
// With inserts ignored (the raw text of a message, for labels and for reports whose strings do
// not cover every insert) only %n, %r, %t and %0 and the line breaks are interpreted; every other
// '%' sequence, inserts included, is copied as written, so the caller can still fill it.
//
// Never throws (except std::bad_alloc) and reads nothing outside the given text.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace rivode::reports {

struct MessageFormatOptions {
    bool ignoreInserts = false;
    bool singleLine = false;
};

// The highest insert number the text references: every '%' followed by a digit other than 0
// starts a number made of all the digits that follow; "%%" and "%0" reference nothing. Numbers
// too large to count saturate at SIZE_MAX.
std::size_t FindHighestInsert(std::u16string_view raw);

// Formats raw with strings standing for %1, %2, ... into out (replacing its content). false on a
// malformed insert: an unknown or unterminated "!fmt!", an insert number of three or more digits,
// or one beyond the strings given; out is then incomplete and the caller falls back to the text
// with inserts ignored, which always succeeds.
[[nodiscard]] bool FormatMessageText(std::u16string_view raw,
                                     std::span<const YUnicodeString> strings,
                                     MessageFormatOptions options, YUnicodeString& out);

// Formats a number with an insert format such as u"%1!08x!" (every insert of the format stands
// for the number; a 32-bit number is signed for "d" as the platform's message formatting would
// read it). false on a malformed format.
[[nodiscard]] bool FormatNumberInsert(std::u16string_view format, std::uint64_t number,
                                      bool is64Bit, YUnicodeString& out,
                                      MessageFormatOptions options = {});

}  // namespace rivode::reports
