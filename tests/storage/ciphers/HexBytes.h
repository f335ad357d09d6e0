// Byte blocks written as hexadecimal in the tests' tables.
#pragma once

#include <cryptopp/filters.h>
#include <cryptopp/hex.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rivode::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Hex(std::string_view digits) {
    std::string bytes;
    CryptoPP::StringSource(std::string(digits), true,
                           new CryptoPP::HexDecoder(new CryptoPP::StringSink(bytes)));
    return Bytes(bytes.begin(), bytes.end());
}

inline std::string HexOf(const Bytes& bytes, bool upperCase) {
    std::string digits;
    CryptoPP::StringSource(bytes.data(), bytes.size(), true,
                           new CryptoPP::HexEncoder(new CryptoPP::StringSink(digits), upperCase));
    return digits;
}

}  // namespace rivode::test
