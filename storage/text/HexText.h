// Hexadecimal text of byte blocks, as the value files and the stored forms of sensitive values
// use it.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace rivode::storage {

// The value of a hexadecimal digit of either case; -1 for any other character.
constexpr int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// Appends two digits a byte.
void AppendHex(const std::uint8_t* bytes, std::size_t count, bool upperCase, YUnicodeString& text);

// Digits of either case, two a byte. false, bytes unspecified, for an odd count or any other
// character.
bool DecodeHex(std::u16string_view digits, std::vector<std::uint8_t>& bytes);

}  // namespace rivode::storage
