#include "storage/ini/IniValueFileWriter.h"

#include <RivodeRavudaVU/HexDigits.h>

namespace rivode::storage {
namespace {

constexpr std::size_t kBytesPerLine = 32;

void AppendHeader(YUnicodeString& out, char16_t kind, std::u16string_view name) {
    out.push_back(kind);
    out.append(u":\"");
    out.append(name);
    out.append(u"\"=");
}

void AppendHex8(YUnicodeString& out, std::uint32_t number) {
    char16_t digits[8];
    for (int i = 7; i >= 0; --i) {
        digits[i] = static_cast<char16_t>(HexDigit(number, false));
        number >>= 4;
    }
    out.append(digits, 8);
}

void AppendLineEnd(YUnicodeString& out) {
    out.append(u"\r\n");
}

}  // namespace

void AppendDwordLines(YUnicodeString& out, std::u16string_view name, std::uint32_t value) {
    AppendHeader(out, u'D', name);
    AppendHex8(out, value);
    AppendLineEnd(out);
}

void AppendStringLines(YUnicodeString& out, std::u16string_view name, std::u16string_view text) {
    AppendHeader(out, u'S', name);
    out.append(text);
    AppendLineEnd(out);
}

void AppendBinaryLines(YUnicodeString& out, std::u16string_view name, const std::uint8_t* bytes,
                       std::size_t length) {
    AppendHeader(out, u'B', name);
    AppendHex8(out, static_cast<std::uint32_t>(length));
    AppendLineEnd(out);
    out.reserve(out.size() + length * 3 + (length / kBytesPerLine + 1) * 2);
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t pair[3] = {u' ', static_cast<char16_t>(HexDigit(bytes[i] >> 4, false)),
                                  static_cast<char16_t>(HexDigit(bytes[i], false))};
        out.append(pair, 3);
        if ((i + 1) % kBytesPerLine == 0 || i + 1 == length) {
            AppendLineEnd(out);
        }
    }
}

void AppendStringArrayLines(YUnicodeString& out, std::u16string_view name,
                            const YStringArray& texts) {
    AppendHeader(out, u'Z', name);
    AppendHex8(out, static_cast<std::uint32_t>(texts.size()));
    AppendLineEnd(out);
    for (const YUnicodeString& text : texts) {
        out.push_back(u' ');
        out.append(text);
        AppendLineEnd(out);
    }
}

}  // namespace rivode::storage
