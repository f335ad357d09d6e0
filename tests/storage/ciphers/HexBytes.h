// Byte blocks written as hexadecimal in the tests' tables.
#pragma once

#include <RivodeRavudaVU/HexDigits.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace rivode::test {

using Bytes = std::vector<std::uint8_t>;

// A table's digits; a typing error in a table stops the test instead of testing other bytes.
inline Bytes Hex(std::string_view digits) {
    Bytes bytes;
    if (!DecodeHexBytes(digits, bytes)) {
        throw std::invalid_argument("not hexadecimal: " + std::string(digits));
    }
    return bytes;
}

inline std::string HexOf(const Bytes& bytes, bool upperCase) {
    std::string digits;
    AppendHexBytes(bytes.data(), bytes.size(), upperCase, digits);
    return digits;
}

}  // namespace rivode::test
