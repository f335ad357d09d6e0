#include <RivodeRavudaVU/YUnicodeString.h>

#include "platform/SecureMemory.h"
#include "platform/Utf8Codec.h"

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
            if (platform::IsSurrogate(c)) {
                continue;
            }
            const wint_t mapped = Map(static_cast<wint_t>(c), utf8);
            if (mapped <= 0xFFFF && !platform::IsSurrogate(mapped)) {
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

// Converts into out, which it replaces; false only with IllFormed::Stop, for ill-formed text.
bool FromUtf8Into(std::string_view text, YUnicodeString& out, platform::IllFormed illFormed) {
    out.resize(text.size());
    std::size_t written = 0;
    const platform::Utf8DecodeResult result =
        platform::DecodeUtf8(text, out.data(), written, illFormed);
    out.resize(written);
    return result.consumed == text.size();
}

}  // namespace

char16_t ToUpperSimple(char16_t c) {
    return c < 0x80 ? AsciiUpper(c) : Upper()[c];
}

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
    return text.size() >= prefix.size() &&
           CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix) {
    return text.size() >= suffix.size() &&
           CompareNoCase(text.substr(text.size() - suffix.size()), suffix) == 0;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    (void)platform::AppendUtf8(text, out, platform::IllFormed::Replace);
    return out;
}

YUnicodeString FromUtf8(std::string_view text) {
    YUnicodeString out;
    (void)FromUtf8Into(text, out, platform::IllFormed::Replace);
    return out;
}

bool ToUtf8Strict(std::u16string_view text, std::string& out) {
    out.clear();
    return platform::AppendUtf8(text, out, platform::IllFormed::Stop);
}

bool FromUtf8Strict(std::string_view text, YUnicodeString& out) {
    return FromUtf8Into(text, out, platform::IllFormed::Stop);
}

YUnicodeString FromAscii(std::string_view text) {
    return YUnicodeString(text.begin(), text.end());
}

namespace platform {

bool ToSecureUtf8(std::u16string_view text, SecureChars& out) {
    // Room for the longest encoding up front: growing would only add released copies to wipe.
    // At least one byte, so that even the empty secret has a buffer to point at.
    out.clear();
    out.reserve(text.size() * 3 + 1);
    return AppendUtf8(text, out, IllFormed::Stop);
}

}  // namespace platform

}  // namespace rivode
