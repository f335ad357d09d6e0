// How values are read from the command line and shown; the cases the command tests do not reach.
#include "cli/ValueFormat.h"
#include "cli/ValueParse.h"

#include <gtest/gtest.h>

#include <optional>

namespace rivode::cli {
namespace {

TEST(ValueParseTest, DwordIsDecimalOrHexWithinThirtyTwoBits) {
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"0", 0u},
        {"007", 7u},
        {"0XaBc", 0xabcu},
        {"4294967295", 0xffffffffu},
        {"0x00000000ffffffff", 0xffffffffu},
        {"0x100000000", {}},
        {"184467440737095516160", {}},
        {"", {}},
        {"+1", {}},
        {"-1", {}},
        {" 1", {}},
        {"1 ", {}},
        {"abc", {}},
        {"0x", {}},
        {"0xg1", {}},
        {"1e3", {}},
        {"0b101", {}},
        {"1.0", {}},
    };
    for (const auto& [text, expected] : cases) {
        std::uint32_t value = 12345;
        std::string problem;
        EXPECT_EQ(ParseDwordText(text, value, problem), expected.has_value()) << text;
        EXPECT_EQ(problem.empty(), expected.has_value()) << text;
        EXPECT_EQ(value, expected.value_or(12345u)) << text;  // a refusal leaves the value alone
    }
}

TEST(ValueParseTest, HexBytesComeInWholeBytesWithOptionalBlanks) {
    const std::pair<const char*, bool> cases[] = {
        {"00ff1a", true}, {"  00FF\t1A ", true}, {"0", false},     {"00f", false},
        {"1 2 3", false}, {"0x00", false},       {"00,ff", false}, {"00-ff", false},
    };
    for (const auto& [text, accepted] : cases) {
        ByteBlock bytes;
        std::string problem;
        EXPECT_EQ(ParseHexBytes(text, bytes, problem), accepted) << text;
        EXPECT_EQ(problem.empty(), accepted) << text;
        if (accepted) {
            EXPECT_EQ(bytes, (ByteBlock{0x00, 0xff, 0x1a})) << text;
        }
    }
}

TEST(ValueParseTest, TextsAndNamesAreOneLineOfUtf8AndNamesHaveNoQuote) {
    YUnicodeString value;
    std::string problem;
    for (const char* text : {"carriage\rreturn", "end\r\n", "\xff\xfe", "\xc3"}) {
        EXPECT_FALSE(ParseValueText(text, value, problem)) << text;
        EXPECT_FALSE(ParseValueName(text, value, problem)) << text;
    }
    ASSERT_TRUE(
        ParseValueText("Cr\xc3\xa8me = \"br\xc3\xbbl\xc3\xa9"
                       "e\"\t",
                       value, problem));
    EXPECT_EQ(value, u"Cr\u00e8me = \"br\u00fbl\u00e9e\"\t");
    EXPECT_FALSE(ParseValueName("\"", value, problem));
    ASSERT_TRUE(ParseValueName("Port Forward = V2", value, problem));
    EXPECT_EQ(value, u"Port Forward = V2");
}

TEST(ValueFormatTest, EmptyItemsAndUnpairedSurrogatesStayVisible) {
    const ValueData list = YStringArray{u"first", u"", u"third item"};
    EXPECT_EQ(FormatValueInline(list), "first |  | third item");
    EXPECT_EQ(FormatValueLines(list), (std::vector<std::string>{"first", "", "third item"}));
    EXPECT_EQ(ValueToJson(ValueData(YStringArray{})), nlohmann::json::array());
    EXPECT_EQ(FormatValueInline(ValueData(YUnicodeString(u"a\xd800z"))), "a\xef\xbf\xbdz");
}

}  // namespace
}  // namespace rivode::cli
