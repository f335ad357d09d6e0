#include "storage/HexText.h"

namespace rivode::storage {

namespace {

int DigitValue(char16_t c) {
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

}  // namespace

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
        const int high = DigitValue(digits[2 * i]);
        const int low = DigitValue(digits[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return true;
}

}  // namespace rivode::storage
