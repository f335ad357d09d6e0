// Windows-1252, the 8-bit code page of value files written without a byte-order mark.
//
// Every byte decodes: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the C1 controls of the same number, as the usual best-fit tables have it, so a
// file in this code page never fails to read. Encoding is strict: a character the code page
// cannot hold has no byte.
#pragma once

#include <array>

namespace rivode::storage {

// The UTF-16 code unit of every byte.
extern const std::array<char16_t, 256> kCodePage1252ToUnicode;

// The byte that holds c; false when the code page has none.
bool UnicodeToCodePage1252(char16_t c, unsigned char& byte);

}  // namespace rivode::storage
