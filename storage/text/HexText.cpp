#include "storage/text/HexText.h"

namespace rivode::storage {

void AppendHex(const std::uint8_t* bytes, std::size_t count, bool upperCase, YUnicodeString& text) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    text.reserve(text.size() + 2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        text.push_back(static_cast<char16_t>(digits[bytes[i] >> 4]));
        text.push_back(static_cast<char16_t>(digits[bytes[i] & 0x0F]));
    }
}

bool DecodeHex(std::u16string_view digits, std::vector<std::uint8_t>& bytes) {
    if (digits.size() % 2 != 0) {
        return false;
    }
    bytes.resize(digits.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigitValue(digits[2 * i]);
        const int low = HexDigitValue(digits[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return true;
}

}  // namespace rivode::storage
