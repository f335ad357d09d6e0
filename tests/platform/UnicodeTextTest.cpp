#include <RivodeRavudaVU/YUnicodeString.h>

#include <gtest/gtest.h>

#include <map>

namespace rivode {
namespace {

TEST(CaseInsensitiveNames, CompareBeyondAscii) {
    EXPECT_TRUE(EqualsNoCase(u"Sessions", u"SESSIONS"));
    EXPECT_TRUE(EqualsNoCase(u"\u00e9t\u00e9", u"\u00c9T\u00c9"));   // é
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
    for (const std::string bad : {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82",
                                  "\xFF"}) {
        EXPECT_FALSE(FromUtf8Strict(bad, out)) << bad.size();
        EXPECT_NE(FromUtf8(bad).find(u'\uFFFD'), YUnicodeString::npos);
    }
    std::string narrow;
    EXPECT_FALSE(ToUtf8Strict(YUnicodeString(1, char16_t(0xD800)), narrow));
    EXPECT_EQ(ToUtf8(YUnicodeString(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace rivode
