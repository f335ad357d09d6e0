#include "cli/ValueParse.h"

#include <gtest/gtest.h>

namespace rivode::cli {
namespace {

class DwordTextTest : public ::testing::Test {
protected:
    std::uint32_t Accepted(std::string_view text) {
        std::uint32_t value = 12345;
        std::string problem;
        EXPECT_TRUE(ParseDwordText(text, value, problem)) << text << ": " << problem;
        return value;
    }
    void ExpectRefused(std::string_view text) {
        std::uint32_t value = 12345;
        std::string problem;
        EXPECT_FALSE(ParseDwordText(text, value, problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
        EXPECT_EQ(value, 12345u) << text;
    }
};

TEST_F(DwordTextTest, DecimalAndHexadecimalAreRead) {
    EXPECT_EQ(Accepted("0"), 0u);
    EXPECT_EQ(Accepted("22"), 22u);
    EXPECT_EQ(Accepted("007"), 7u);
    EXPECT_EQ(Accepted("0x16"), 0x16u);
    EXPECT_EQ(Accepted("0XaBc"), 0xabcu);
}

TEST_F(DwordTextTest, TheFullRangeIsAcceptedAndNothingBeyond) {
    EXPECT_EQ(Accepted("4294967295"), 4294967295u);
    EXPECT_EQ(Accepted("0xffffffff"), 0xffffffffu);
    EXPECT_EQ(Accepted("0x00000000ffffffff"), 0xffffffffu);
    ExpectRefused("4294967296");
    ExpectRefused("0x100000000");
    ExpectRefused("184467440737095516160");
}

TEST_F(DwordTextTest, SignsBlanksAndGarbageAreRefused) {
    for (const char* text :
         {"", "-1", "+1", " 1", "1 ", "12abc", "abc", "0x", "0xg1", "1e3", "0b101", "1.0"}) {
        ExpectRefused(text);
    }
}

class HexBytesTest : public ::testing::Test {
protected:
    ByteBlock Accepted(std::string_view text) {
        ByteBlock bytes;
        std::string problem;
        EXPECT_TRUE(ParseHexBytes(text, bytes, problem)) << text << ": " << problem;
        return bytes;
    }
    void ExpectRefused(std::string_view text) {
        ByteBlock bytes;
        std::string problem;
        EXPECT_FALSE(ParseHexBytes(text, bytes, problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
    }
};

TEST_F(HexBytesTest, BytesAreReadWithOrWithoutBlanksInEitherCase) {
    const ByteBlock expected{0x00, 0xff, 0x1a};
    EXPECT_EQ(Accepted("00ff1a"), expected);
    EXPECT_EQ(Accepted("00 ff 1a"), expected);
    EXPECT_EQ(Accepted("  00FF\t1A "), expected);
    EXPECT_EQ(Accepted("00ff 1a"), expected);
}

TEST_F(HexBytesTest, NoDigitsMakeAnEmptyBlock) {
    EXPECT_TRUE(Accepted("").empty());
    EXPECT_TRUE(Accepted("   ").empty());
}

TEST_F(HexBytesTest, HalfBytesAndOtherCharactersAreRefused) {
    for (const char* text : {"0", "0 f", "00f", "1 2 3", "zz", "0x00", "00,ff", "00-ff"}) {
        ExpectRefused(text);
    }
}

TEST(ValueTextTest, LineBreaksAndInvalidUtf8AreRefused) {
    YUnicodeString value;
    std::string problem;
    for (const char* text : {"two\nlines", "carriage\rreturn", "end\r\n", "\xff\xfe", "\xc3"}) {
        problem.clear();
        EXPECT_FALSE(ParseValueText(text, value, problem)) << text;
        EXPECT_FALSE(problem.empty());
    }
}

TEST(ValueTextTest, AnyOneLineTextIsKeptAsItIs) {
    YUnicodeString value;
    std::string problem;
    ASSERT_TRUE(
        ParseValueText("Cr\xc3\xa8me = \"br\xc3\xbbl\xc3\xa9"
                       "e\"\t",
                       value, problem));
    EXPECT_EQ(value, u"Cr\u00e8me = \"br\u00fbl\u00e9e\"\t");
    ASSERT_TRUE(ParseValueText("", value, problem));
    EXPECT_TRUE(value.empty());
}

TEST(ValueNameTest, NamesTheStoredFormatCannotHoldAreRefused) {
    YUnicodeString name;
    std::string problem;
    for (const char* text : {"", "say \"hi\"", "\"", "two\nlines", "cr\r", "\xff"}) {
        EXPECT_FALSE(ParseValueName(text, name, problem)) << text;
    }
    ASSERT_TRUE(ParseValueName("Port Forward = V2", name, problem));
    EXPECT_EQ(name, u"Port Forward = V2");
}

}  // namespace
}  // namespace rivode::cli
