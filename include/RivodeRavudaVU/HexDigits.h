// Hexadecimal digits, as value files, XML stores, stored secrets, shared-memory names and hosts'
// command lines write bytes and numbers: the one place digits turn into values and back.
// Header-only and allocation-free apart from the output given; thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

namespace rivode {

// The value of a hexadecimal digit of either case; -1 for any other character. A char is taken
// as its byte, so no byte of a multi-byte character passes for a digit.
constexpr int HexDigitValue(char32_t c) {
    if (c >= U'0' && c <= U'9') {
        return static_cast<int>(c - U'0');
    }
    if (c >= U'a' && c <= U'f') {
        return static_cast<int>(c - U'a' + 10);
    }
    if (c >= U'A' && c <= U'F') {
        return static_cast<int>(c - U'A' + 10);
    }
    return -1;
}
constexpr int HexDigitValue(char16_t c) {
    return HexDigitValue(char32_t{c});
}
// Bytes go through a table: value files hold thousands of digits per key, and the comparisons
// above mispredict on every other digit of random bytes.
inline constexpr auto kHexDigitValues = [] {
    struct Table {
        signed char value[256];
    } table{};
    for (int byte = 0; byte < 256; ++byte) {
        table.value[byte] = static_cast<signed char>(HexDigitValue(static_cast<char32_t>(byte)));
    }
    return table;
}();
constexpr int HexDigitValue(char c) {
    return kHexDigitValues.value[static_cast<unsigned char>(c)];
}

// The byte two digits spell, high digit first; -1 when either is not a digit.
template <class Char>
constexpr int HexByteValue(Char high, Char low) {
    const int highValue = HexDigitValue(high);
    const int lowValue = HexDigitValue(low);
    return (highValue | lowValue) < 0 ? -1 : highValue << 4 | lowValue;
}

// The digit of the low four bits of value.
constexpr char HexDigit(unsigned value, bool upperCase) {
    return (upperCase ? "0123456789ABCDEF" : "0123456789abcdef")[value & 0xF];
}

// Appends two digits a byte to text (a std::string or std::u16string), with separator between
// two bytes unless it is NUL.
template <class Text>
void AppendHexBytes(const std::uint8_t* bytes, std::size_t count, bool upperCase, Text& text,
                    typename Text::value_type separator = 0) {
    text.reserve(text.size() + count * (separator != 0 ? 3 : 2));
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0 && separator != 0) {
            text.push_back(separator);
        }
        text.push_back(static_cast<typename Text::value_type>(HexDigit(bytes[i] >> 4, upperCase)));
        text.push_back(static_cast<typename Text::value_type>(HexDigit(bytes[i], upperCase)));
    }
}

// Digits of either case, two a byte, nothing between them. false (bytes unspecified) for an odd
// count or any other character.
template <class Char>
bool DecodeHexBytes(std::basic_string_view<Char> digits, std::vector<std::uint8_t>& bytes) {
    if (digits.size() % 2 != 0) {
        return false;
    }
    bytes.resize(digits.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int byte = HexByteValue(digits[2 * i], digits[2 * i + 1]);
        if (byte < 0) {
            return false;
        }
        bytes[i] = static_cast<std::uint8_t>(byte);
    }
    return true;
}
inline bool DecodeHexBytes(std::string_view digits, std::vector<std::uint8_t>& bytes) {
    return DecodeHexBytes<char>(digits, bytes);
}
inline bool DecodeHexBytes(std::u16string_view digits, std::vector<std::uint8_t>& bytes) {
    return DecodeHexBytes<char16_t>(digits, bytes);
}

}  // namespace rivode

#pragma GCC visibility pop
