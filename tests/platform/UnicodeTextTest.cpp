#include <RivodeRavudaVU/YUnicodeString.h>

#include "platform/Utf8Codec.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace rivode {
namespace {

TEST(CaseInsensitiveNames, CompareBeyondAscii) {
    EXPECT_TRUE(EqualsNoCase(u"Sessions", u"SESSIONS"));
    EXPECT_TRUE(EqualsNoCase(u"\u00e9t\u00e9", u"\u00c9T\u00c9"));  // é
    EXPECT_TRUE(EqualsNoCase(u"\u0444\u0430\u0439\u043b", u"\u0424\u0410\u0419\u041b"));
    EXPECT_FALSE(EqualsNoCase(u"abc", u"abd"));
    EXPECT_FALSE(EqualsNoCase(u"abc", u"abcd"));
    // One-to-one mapping only: the sharp s has no single-unit upper case and stays itself.
    EXPECT_EQ(ToUpperSimple(u'\u00df'), u'\u00df');
    EXPECT_FALSE(EqualsNoCase(u"stra\u00dfe", u"STRASSE"));
}

TEST(CaseInsensitiveNames, OrderIsByUpperCase) {
    EXPECT_LT(CompareNoCase(u"apple", u"Banana"), 0);
    EXPECT_GT(CompareNoCase(u"b", u"A"), 0);
    EXPECT_LT(CompareNoCase(u"ab", u"AB_"), 0);
    std::map<YUnicodeString, int, LessNoCase> names{{u"Server", 1}};
    EXPECT_EQ(names.count(u"sERVER"), 1u);
    EXPECT_TRUE(StartsWithNoCase(u"${YWS_CONFIG_PATH}\\x", u"${yws_config_path}"));
    EXPECT_TRUE(EndsWithNoCase(u"Session.INI", u".ini"));
}

TEST(Utf8Conversion, RoundTripsEveryPlane) {
    const YUnicodeString text = u"A\u00e9\u20ac\U0001F600z";
    YUnicodeString back;
    ASSERT_TRUE(FromUtf8Strict(ToUtf8(text), back));
    EXPECT_EQ(back, text);
    EXPECT_EQ(ToUtf8(text).size(), 1u + 2u + 3u + 4u + 1u);
}

TEST(Utf8Conversion, IllFormedInputIsReplacedOrRefused) {
    YUnicodeString out;
    for (const std::string bad :
         {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\xFF"}) {
        EXPECT_FALSE(FromUtf8Strict(bad, out)) << bad.size();
        EXPECT_NE(FromUtf8(bad).find(u'\uFFFD'), YUnicodeString::npos);
    }
    std::string narrow;
    EXPECT_FALSE(ToUtf8Strict(YUnicodeString(1, char16_t(0xD800)), narrow));
    EXPECT_EQ(ToUtf8(YUnicodeString(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

// The one decoder under three tolerances: the value-file reader stops at the first ill-formed
// byte (and tells it from a character cut short, which more bytes may complete), FromUtf8
// replaces, FromUtf8Strict refuses. The ASCII run is longer than the sixteen bytes passed at once.
TEST(Utf8Codec, EachToleranceTreatsIllFormedInputItsOwnWay) {
    const std::string run(20, 'a');
    const YUnicodeString wideRun(20, u'a');
    struct Case {
        std::string bytes;
        std::size_t stopAt;
        bool invalid;
        YUnicodeString replaced;
    };
    const Case cases[] = {
        {run + "\xC3\xA9\xF0\x9F\x98\x80", 26, false, wideRun + u"\u00e9\U0001F600"},
        {run + "\xE2\x82", 20, false, wideRun + u"\uFFFD\uFFFD"},
        {"A\xFF"
         "B",
         1, true, u"A\uFFFDB"},
        {"\xC0\x80", 0, true, u"\uFFFD\uFFFD"},
        {"x\xED\xA0\x80", 1, true, u"x\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", 0, true, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xE2\x28\xA1", 0, true, u"\uFFFD(\uFFFD"},
        // Overlong leads, a lead beyond the last plane and a continuation byte alone.
        {"\xE0\x80", 0, true, u"\uFFFD\uFFFD"},
        {"\xC1\xBF", 0, true, u"\uFFFD\uFFFD"},
        {"\xF5\x80", 0, true, u"\uFFFD\uFFFD"},
        {"a\x80", 1, true, u"a\uFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replaced.size());
        std::u16string out(c.bytes.size(), u'\0');
        std::size_t written = 0;
        const platform::Utf8DecodeResult stopped =
            platform::DecodeUtf8(c.bytes, out.data(), written, platform::IllFormed::Stop);
        EXPECT_EQ(stopped.consumed, c.stopAt);
        EXPECT_EQ(stopped.invalid, c.invalid);
        const platform::Utf8DecodeResult judged = platform::FindValidUtf8(c.bytes);
        EXPECT_EQ(judged.consumed, stopped.consumed);
        EXPECT_EQ(judged.invalid, stopped.invalid);
        EXPECT_EQ(FromUtf8(c.bytes), c.replaced);
        YUnicodeString strict;
        EXPECT_EQ(FromUtf8Strict(c.bytes, strict), c.stopAt == c.bytes.size());
    }
}

// ASCII is widened in blocks whose last one overlaps the one before it: every length around the
// block sizes, all ASCII and with one two-byte character at either end, decodes whole.
TEST(Utf8Codec, EveryLengthDecodesWhole) {
    for (std::size_t length = 0; length <= 40; ++length) {
        std::string ascii;
        YUnicodeString wide;
        for (std::size_t i = 0; i < length; ++i) {
            ascii += static_cast<char>('!' + i);
            wide += static_cast<char16_t>('!' + i);
        }
        for (const auto& [bytes, expected] :
             {std::pair{ascii, wide}, std::pair{ascii + "\xC3\xA9", wide + u"\u00e9"},
              std::pair{"\xC3\xA9" + ascii, u"\u00e9" + wide}}) {
            SCOPED_TRACE(bytes);
            std::u16string out(bytes.size(), u'\0');
            std::size_t written = 0;
            const platform::Utf8DecodeResult result =
                platform::DecodeUtf8(bytes, out.data(), written, platform::IllFormed::Stop);
            EXPECT_EQ(result.consumed, bytes.size());
            EXPECT_EQ(out.substr(0, written), expected);
        }
    }
}

TEST(Utf8Codec, StoppedEncodingLeavesTheOutputAsItWas) {
    const YUnicodeString unpaired = u"ok\xD83D";
    std::string out = "kept";
    EXPECT_FALSE(platform::AppendUtf8(unpaired, out, platform::IllFormed::Stop));
    EXPECT_EQ(out, "kept");
    EXPECT_TRUE(platform::AppendUtf8(unpaired, out, platform::IllFormed::Replace));
    EXPECT_EQ(out, "keptok\xEF\xBF\xBD");
    EXPECT_TRUE(platform::AppendUtf8(u"\U0001F600", out, platform::IllFormed::Stop));
    EXPECT_EQ(out, "keptok\xEF\xBF\xBD\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace rivode
