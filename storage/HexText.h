// Hexadecimal text of byte blocks, as the stored forms of sensitive values use it.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace rivode::storage {

// Appends two digits a byte.
void AppendHex(const std::uint8_t* bytes, std::size_t count, bool upperCase, YUnicodeString& text);

// Digits of either case, two a byte. false, bytes unspecified, for an odd count or any other
// character.
bool DecodeHex(std::u16string_view digits, std::vector<std::uint8_t>& bytes);

}  // namespace rivode::storage
