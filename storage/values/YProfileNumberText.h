// Decimal numbers in the texts of typed values and variants.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace rivode::storage {

// A decimal integer with an optional sign and optional surrounding blanks (space, tab), within
// the range of a 64-bit signed number. Nothing else, not even an empty text, is a number.
bool ParseInteger(std::u16string_view text, std::int64_t& value);
// As ParseInteger, within the range of a 32-bit signed number.
bool ParseInt32(std::u16string_view text, std::int32_t& value);

void AppendDecimal(YUnicodeString& text, std::int64_t value);
// value in decimal, at least width digits (zero-padded).
void AppendPadded(YUnicodeString& text, std::uint32_t value, int width);

// The pieces of text between separators; a text without separators is one piece, the empty
// text one empty piece.
std::vector<std::u16string_view> Split(std::u16string_view text, char16_t separator);

std::u16string_view TrimBlanks(std::u16string_view text);

}  // namespace rivode::storage
