#include <RivodeRavudaVU/YUnicodeString.h>

#include "platform/SecureMemory.h"

#include <locale.h>
#include <wctype.h>

#include <array>
#include <memory>

namespace rivode {
namespace {

// One-to-one case mapping of every UTF-16 code unit in one direction, built once from the C
// library's Unicode tables (the C.UTF-8 locale carries the full simple case mapping whatever the
// host's locale). A mapping outside the Basic Multilingual Plane leaves the unit unchanged.
template <wint_t (*Map)(wint_t, locale_t), char kFrom, char kTo>
class CaseTable {
public:
    CaseTable() {
        for (unsigned c = 0; c < table_.size(); ++c) {
            table_[c] = static_cast<char16_t>(c);
        }
        for (unsigned c = kFrom; c <= static_cast<unsigned>(kFrom + 25); ++c) {
            table_[c] = static_cast<char16_t>(c - kFrom + kTo);
        }
        locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (utf8 == static_cast<locale_t>(0)) {
            return;
        }
        for (unsigned c = 0x80; c < table_.size(); ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) {
                continue;
            }
            const wint_t mapped = Map(static_cast<wint_t>(c), utf8);
            if (mapped <= 0xFFFF && !(mapped >= 0xD800 && mapped <= 0xDFFF)) {
                table_[c] = static_cast<char16_t>(mapped);
            }
        }
        ::freelocale(utf8);
    }
    char16_t operator[](char16_t c) const { return table_[c]; }

private:
    std::array<char16_t, 0x10000> table_;
};

using UpperCaseTable = CaseTable<::towupper_l, 'a', 'A'>;
using LowerCaseTable = CaseTable<::towlower_l, 'A', 'a'>;

const UpperCaseTable& Upper() {
    static const UpperCaseTable table;
    return table;
}

const LowerCaseTable& Lower() {
    static const LowerCaseTable table;
    return table;
}

inline char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
}

constexpr char16_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; returns its length (0 for an ill-formed one) and the
// code point.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

void AppendUtf16(char32_t codePoint, YUnicodeString& out) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    }
}

// Out: std::string, or a vector of char for secrets.
template <class Out>
void AppendUtf8(char32_t codePoint, Out& out) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool FromUtf8Into(std::string_view text, YUnicodeString& out, bool strict) {
    out.clear();
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            out.push_back(static_cast<char16_t>(text[i++]));
            continue;
        }
        char32_t codePoint;
        const std::size_t length = DecodeUtf8(text, i, codePoint);
        if (length == 0) {
            if (strict) {
                return false;
            }
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        AppendUtf16(codePoint, out);
        i += length;
    }
    return true;
}

template <class Out>
bool ToUtf8Into(std::u16string_view text, Out& out, bool strict) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t codePoint = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            codePoint = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            if (strict) {
                return false;
            }
            codePoint = kReplacement;
        }
        AppendUtf8(codePoint, out);
    }
    return true;
}

}  // namespace

char16_t ToUpperSimple(char16_t c) { return c < 0x80 ? AsciiUpper(c) : Upper()[c]; }

YUnicodeString ToUpperSimple(std::u16string_view text) {
    YUnicodeString upper(text);
    for (char16_t& c : upper) {
        c = ToUpperSimple(c);
    }
    return upper;
}

char16_t ToLowerSimple(char16_t c) {
    return c < 0x80 ? (c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c) : Lower()[c];
}

YUnicodeString ToLowerSimple(std::u16string_view text) {
    YUnicodeString lower(text);
    for (char16_t& c : lower) {
        c = ToLowerSimple(c);
    }
    return lower;
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i]) {
            continue;
        }
        // Names are almost always ASCII: fold those here without reaching for the table.
        const char16_t x = a[i] < 0x80 ? AsciiUpper(a[i]) : Upper()[a[i]];
        const char16_t y = b[i] < 0x80 ? AsciiUpper(b[i]) : Upper()[b[i]];
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix) {
    return text.size() >= suffix.size() &&
           CompareNoCase(text.substr(text.size() - suffix.size()), suffix) == 0;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    ToUtf8Into(text, out, false);
    return out;
}

YUnicodeString FromUtf8(std::string_view text) {
    YUnicodeString out;
    FromUtf8Into(text, out, false);
    return out;
}

bool ToUtf8Strict(std::u16string_view text, std::string& out) { return ToUtf8Into(text, out, true); }

bool FromUtf8Strict(std::string_view text, YUnicodeString& out) {
    return FromUtf8Into(text, out, true);
}

YUnicodeString FromAscii(std::string_view text) { return YUnicodeString(text.begin(), text.end()); }

namespace platform {

bool ToSecureUtf8(std::u16string_view text, SecureChars& out) {
    // Room for the longest encoding up front: growing would only add released copies to wipe.
    // At least one byte, so that even the empty secret has a buffer to point at.
    out.reserve(text.size() * 3 + 1);
    return ToUtf8Into(text, out, true);
}

}  // namespace platform

}  // namespace rivode
