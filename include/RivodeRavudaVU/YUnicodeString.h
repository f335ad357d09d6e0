// Text types shared by every layer, and the two comparisons the configuration relies on.
//
// Text is UTF-16 everywhere inside the library; UTF-8 appears only at the operating-system
// boundary and in file encodings. Key, session and folder names compare without regard to case
// by simple one-to-one upper-casing per UTF-16 code unit (ordinal ignore-case); value names
// compare exactly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

using YUnicodeString = std::u16string;
using YStringArray = std::vector<YUnicodeString>;

namespace rivode {

// Simple Unicode upper-casing of one code unit; code units whose upper case lies outside the
// Basic Multilingual Plane or needs several units stay unchanged. Thread-safe.
char16_t ToUpperSimple(char16_t c);
YUnicodeString ToUpperSimple(std::u16string_view text);
// The same for lower case.
char16_t ToLowerSimple(char16_t c);
YUnicodeString ToLowerSimple(std::u16string_view text);

// Ordinal ignore-case comparison: <0, 0, >0 like std::u16string::compare.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix);
bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix);

// Ordering for maps and sets keyed without regard to case.
struct LessNoCase {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const {
        return CompareNoCase(a, b) < 0;
    }
};

// UTF-8 <-> UTF-16. The lenient forms replace every ill-formed sequence (and every unpaired
// surrogate) by U+FFFD; the strict forms report failure instead and leave the output unspecified.
std::string ToUtf8(std::u16string_view text);
YUnicodeString FromUtf8(std::string_view text);
bool ToUtf8Strict(std::u16string_view text, std::string& out);
bool FromUtf8Strict(std::string_view text, YUnicodeString& out);

// Convenience for literals and messages in ASCII.
YUnicodeString FromAscii(std::string_view text);

}  // namespace rivode

#pragma GCC visibility pop
