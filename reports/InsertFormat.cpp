#include "reports/InsertFormat.h"

#include <RivodeRavudaVU/HexDigits.h>

#include "platform/Utf8Codec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace rivode::reports {
namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool ParseBoundedNumber(std::u16string_view text, std::size_t& i, int& number) {
    number = 0;
    while (i < text.size() && IsDigit(text[i])) {
        number = number * 10 + (text[i] - u'0');
        if (number > kMaxInsertWidth) {
            return false;
        }
        ++i;
    }
    return true;
}

bool StartsWith(std::u16string_view text, std::size_t i, std::u16string_view prefix) {
    return text.substr(i, prefix.size()) == prefix;
}

// Length modifiers of both printf families. Only "h" and "hh" change a value (they narrow it);
// the others name sizes that the argument itself already determines here.
void SkipLengthModifier(std::u16string_view text, std::size_t& i, InsertFormat& format) {
    static constexpr std::u16string_view kNeutral[] = {u"I64", u"I32", u"ll", u"l", u"L", u"q",
                                                       u"j",   u"z",   u"t",  u"w", u"I"};
    if (StartsWith(text, i, u"hh")) {
        format.valueBits = 8;
        i += 2;
        return;
    }
    if (StartsWith(text, i, u"h")) {
        format.valueBits = 16;
        i += 1;
        return;
    }
    for (std::u16string_view modifier : kNeutral) {
        if (StartsWith(text, i, modifier)) {
            i += modifier.size();
            return;
        }
    }
}

bool IsConversion(char16_t c) {
    return std::u16string_view(u"diuoxXpcCsSeEfFgGaA").find(c) != std::u16string_view::npos;
}

// A signed decimal or "0x" hexadecimal number filling the whole text; the value is kept as its
// two's complement bits.
bool ParseInteger(std::u16string_view text, std::uint64_t& bits) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    unsigned base = 10;
    if (text.size() - i > 2 && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) {
        return false;
    }
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int value = HexDigitValue(text[i]);
        if (value < 0 || static_cast<unsigned>(value) >= base) {
            return false;
        }
        const unsigned digit = static_cast<unsigned>(value);
        if (magnitude > (UINT64_MAX - digit) / base) {
            return false;
        }
        magnitude = magnitude * base + digit;
    }
    if (negative && magnitude > (std::uint64_t{1} << 63)) {
        return false;
    }
    bits = negative ? ~magnitude + 1 : magnitude;
    return true;
}

bool ParseFloating(std::u16string_view text, double& value) {
    std::string ascii;
    ascii.reserve(text.size());
    for (char16_t c : text) {
        if (c >= 0x80) {
            return false;
        }
        ascii.push_back(static_cast<char>(c));
    }
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    if (first != last && *first == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value);
    return first != last && error == std::errc() && end == last;
}

void AppendAscii(std::string_view text, YUnicodeString& out) {
    out.append(text.begin(), text.end());
}

// Width padding shared by every conversion: blanks on the side away from the alignment, or
// zeros between the sign (or "0x") and the digits.
void AppendPadded(const InsertFormat& format, std::u16string_view prefix, std::u16string_view body,
                  bool zeroPadAllowed, YUnicodeString& out) {
    const std::size_t length = prefix.size() + body.size();
    const std::size_t padding =
        static_cast<std::size_t>(format.width) > length ? format.width - length : 0;
    if (format.leftAlign) {
        out.append(prefix).append(body).append(padding, u' ');
    } else if (format.zeroPad && zeroPadAllowed) {
        out.append(prefix).append(padding, u'0').append(body);
    } else {
        out.append(padding, u' ').append(prefix).append(body);
    }
}

void AppendText(const InsertFormat& format, std::u16string_view text, YUnicodeString& out);

// A numeric conversion that meets text shows the text whole: its precision counts digits, not
// characters to keep.
void AppendUnconvertedText(const InsertFormat& format, std::u16string_view text,
                           YUnicodeString& out) {
    InsertFormat plain = format;
    plain.precision = -1;
    AppendText(plain, text, out);
}

void AppendText(const InsertFormat& format, std::u16string_view text, YUnicodeString& out) {
    if (format.precision >= 0 && static_cast<std::size_t>(format.precision) < text.size()) {
        std::size_t cut = format.precision;
        // Never leave half of a surrogate pair behind.
        if (cut > 0 && platform::IsLeadSurrogate(text[cut - 1])) {
            --cut;
        }
        text = text.substr(0, cut);
    }
    AppendPadded(format, {}, text, false, out);
}

std::u16string_view DecimalText(const InsertValue& value, std::array<char16_t, 24>& buffer) {
    std::uint64_t number = value.is64Bit ? value.number : static_cast<std::uint32_t>(value.number);
    std::size_t start = buffer.size();
    do {
        buffer[--start] = static_cast<char16_t>(u'0' + number % 10);
        number /= 10;
    } while (number != 0);
    return {buffer.data() + start, buffer.size() - start};
}

void AppendInteger(const InsertFormat& format, std::uint64_t bits, int valueBits,
                   YUnicodeString& out) {
    const char16_t conversion = format.conversion;
    if (format.valueBits != 0) {
        valueBits = std::min(valueBits, format.valueBits);
    }
    if (valueBits < 64) {
        bits &= (std::uint64_t{1} << valueBits) - 1;
    }
    const bool isSigned = conversion == u'd' || conversion == u'i';
    bool negative = false;
    std::uint64_t magnitude = bits;
    if (isSigned && valueBits < 64 && (bits >> (valueBits - 1)) != 0) {
        bits |= ~((std::uint64_t{1} << valueBits) - 1);  // sign-extend
    }
    if (isSigned && static_cast<std::int64_t>(bits) < 0) {
        negative = true;
        magnitude = ~bits + 1;
    }
    const unsigned base = conversion == u'o' ? 8 : (isSigned || conversion == u'u') ? 10 : 16;
    const bool upper = conversion == u'X' || conversion == u'p';
    int precision = format.precision;
    if (conversion == u'p' && precision < 0) {
        precision = 16;
    }

    std::array<char16_t, 64> digits;
    std::size_t start = digits.size();
    for (std::uint64_t rest = magnitude; rest != 0; rest /= base) {
        const unsigned digit = static_cast<unsigned>(rest % base);
        digits[--start] =
            static_cast<char16_t>(digit < 10 ? u'0' + digit : (upper ? u'A' : u'a') + digit - 10);
    }
    if (magnitude == 0 && precision != 0) {
        digits[--start] = u'0';
    }
    std::u16string body(digits.data() + start, digits.size() - start);
    if (precision > 0 && body.size() < static_cast<std::size_t>(precision)) {
        body.insert(0, precision - body.size(), u'0');
    }
    if (conversion == u'o' && format.alternate && (body.empty() || body[0] != u'0')) {
        body.insert(0, 1, u'0');
    }

    std::u16string_view prefix;
    if (negative) {
        prefix = u"-";
    } else if (isSigned && format.plusSign) {
        prefix = u"+";
    } else if (isSigned && format.spaceSign) {
        prefix = u" ";
    } else if (format.alternate && magnitude != 0 && (conversion == u'x' || conversion == u'X')) {
        prefix = conversion == u'x' ? u"0x" : u"0X";
    }
    AppendPadded(format, prefix, body, format.precision < 0, out);
}

void AppendFloating(const InsertFormat& format, double value, YUnicodeString& out) {
    const char16_t conversion = format.conversion;
    const bool upper =
        conversion == u'E' || conversion == u'F' || conversion == u'G' || conversion == u'A';
    const bool negative = std::signbit(value);
    value = std::fabs(value);

    // A fixed-point double needs at most 309 integer digits plus the fraction.
    std::array<char, 400 + kMaxInsertWidth> buffer;
    std::to_chars_result result;
    const int precision = format.precision < 0 ? 6 : format.precision;
    switch (conversion) {
        case u'f':
        case u'F':
            result = std::to_chars(buffer.begin(), buffer.end(), value, std::chars_format::fixed,
                                   precision);
            break;
        case u'e':
        case u'E':
            result = std::to_chars(buffer.begin(), buffer.end(), value,
                                   std::chars_format::scientific, precision);
            break;
        case u'a':
        case u'A':
            result = format.precision < 0 ? std::to_chars(buffer.begin(), buffer.end(), value,
                                                          std::chars_format::hex)
                                          : std::to_chars(buffer.begin(), buffer.end(), value,
                                                          std::chars_format::hex, precision);
            break;
        default:
            result = std::to_chars(buffer.begin(), buffer.end(), value, std::chars_format::general,
                                   precision);
            break;
    }
    if (result.ec != std::errc()) {
        return;
    }
    const bool finite = std::isfinite(value);
    YUnicodeString body;
    if (finite && (conversion == u'a' || conversion == u'A')) {
        body = u"0x";
    }
    AppendAscii(std::string_view(buffer.data(), result.ptr - buffer.data()), body);
    if (upper) {
        for (char16_t& c : body) {
            if (c >= u'a' && c <= u'z') {
                c = static_cast<char16_t>(c - 0x20);
            }
        }
    }
    std::u16string_view prefix;
    if (negative) {
        prefix = u"-";
    } else if (format.plusSign) {
        prefix = u"+";
    } else if (format.spaceSign) {
        prefix = u" ";
    }
    AppendPadded(format, prefix, body, finite, out);
}

void AppendCodePoint(const InsertFormat& format, std::uint64_t code, YUnicodeString& out) {
    char16_t units[2];
    std::u16string_view text;
    if (code == 0) {
        // A NUL would end the text for every caller reading it as a C string.
    } else if (code <= 0x10FFFF && !platform::IsSurrogate(static_cast<char32_t>(code))) {
        text = {units, static_cast<std::size_t>(
                           platform::PutUtf16(static_cast<char32_t>(code), units) - units)};
    } else {
        units[0] = platform::kReplacementCharacter;
        text = {units, 1};
    }
    AppendPadded(format, {}, text, false, out);
}

bool IsSingleCharacter(std::u16string_view text) {
    return text.size() == 1 || (text.size() == 2 && platform::IsLeadSurrogate(text[0]) &&
                                platform::IsTrailSurrogate(text[1]));
}

}  // namespace

bool ParseInsertFormat(std::u16string_view text, InsertFormat& format) {
    format = InsertFormat{};
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'-') {
            format.leftAlign = true;
        } else if (c == u'+') {
            format.plusSign = true;
        } else if (c == u' ') {
            format.spaceSign = true;
        } else if (c == u'#') {
            format.alternate = true;
        } else if (c == u'0') {
            format.zeroPad = true;
        } else {
            break;
        }
    }
    if (!ParseBoundedNumber(text, i, format.width)) {
        return false;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        if (!ParseBoundedNumber(text, i, format.precision)) {
            return false;
        }
    }
    SkipLengthModifier(text, i, format);
    if (i + 1 != text.size() || !IsConversion(text[i])) {
        return false;
    }
    format.conversion = text[i];
    return true;
}

void AppendFormattedInsert(const InsertFormat& format, const InsertValue& value,
                           YUnicodeString& out) {
    std::array<char16_t, 24> decimal;
    const std::u16string_view text = value.isNumber ? DecimalText(value, decimal) : value.text;
    const int valueBits = value.isNumber && !value.is64Bit ? 32 : 64;
    std::uint64_t bits = value.number;
    switch (format.conversion) {
        case u's':
        case u'S':
            AppendText(format, text, out);
            return;
        case u'c':
        case u'C':
            if (!value.isNumber && IsSingleCharacter(text)) {
                AppendText(format, text, out);
            } else if (value.isNumber || ParseInteger(text, bits)) {
                AppendCodePoint(format, valueBits < 64 ? static_cast<std::uint32_t>(bits) : bits,
                                out);
            } else {
                AppendUnconvertedText(format, text, out);
            }
            return;
        case u'e':
        case u'E':
        case u'f':
        case u'F':
        case u'g':
        case u'G':
        case u'a':
        case u'A': {
            double number;
            if (value.isNumber) {
                number =
                    static_cast<double>(valueBits < 64 ? static_cast<std::uint32_t>(bits) : bits);
            } else if (!ParseFloating(text, number)) {
                AppendUnconvertedText(format, text, out);
                return;
            }
            AppendFloating(format, number, out);
            return;
        }
        default:
            if (!value.isNumber && !ParseInteger(text, bits)) {
                AppendUnconvertedText(format, text, out);
                return;
            }
            AppendInteger(format, bits, valueBits, out);
            return;
    }
}

}  // namespace rivode::reports
