#include "storage/values/YProfileNumberText.h"

#include <algorithm>
#include <limits>

namespace rivode::storage {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool ParseInteger(std::u16string_view text, std::int64_t& value) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    // Accumulate towards the negative side, which holds one more number than the positive.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t result = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
        const int digit = c - u'0';
        if (result < (kMin + digit) / 10) {
            return false;
        }
        result = result * 10 - digit;
    }
    if (!negative) {
        if (result == kMin) {
            return false;
        }
        result = -result;
    }
    value = result;
    return true;
}

bool ParseInt32(std::u16string_view text, std::int32_t& value) {
    std::int64_t wide = 0;
    if (!ParseInteger(text, wide) || wide < std::numeric_limits<std::int32_t>::min() ||
        wide > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    value = static_cast<std::int32_t>(wide);
    return true;
}

void AppendDecimal(YUnicodeString& text, std::int64_t value) {
    char16_t digits[24];
    int count = 0;
    // Work on the unsigned magnitude so that the smallest number has one too.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        text.push_back(u'-');
    }
    while (count > 0) {
        text.push_back(digits[--count]);
    }
}

void AppendPadded(YUnicodeString& text, std::uint32_t value, int width) {
    YUnicodeString digits;
    AppendDecimal(digits, value);
    for (int i = static_cast<int>(digits.size()); i < width; ++i) {
        text.push_back(u'0');
    }
    text += digits;
}

std::vector<std::u16string_view> Split(std::u16string_view text, char16_t separator) {
    // Sized first: the window and list states of every session opened are split here, and a
    // growing vector would allocate three times for their three or four pieces.
    std::vector<std::u16string_view> pieces;
    pieces.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), separator)) + 1);
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        if (end == std::u16string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace rivode::storage
