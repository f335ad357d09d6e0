#include "cli/ValueFormat.h"

#include <gtest/gtest.h>

namespace rivode::cli {
namespace {

using Lines = std::vector<std::string>;

TEST(ValueFormatTest, BinaryIsLowerCaseHexPairsSeparatedByBlanks) {
    const ValueData value = ByteBlock{0x00, 0x0f, 0xa0, 0xff};
    EXPECT_EQ(FormatValueLines(value), Lines{"00 0f a0 ff"});
    EXPECT_EQ(ValueToJson(value), nlohmann::json("00 0f a0 ff"));
    EXPECT_EQ(FormatValueLines(ValueData(ByteBlock{})), Lines{""});
}

TEST(ValueFormatTest, MultiStringIsOneItemALineOrJoinedOnOneLine) {
    const ValueData value = YStringArray{u"first", u"", u"third item"};
    EXPECT_EQ(FormatValueLines(value), (Lines{"first", "", "third item"}));
    EXPECT_EQ(FormatValueInline(value), "first |  | third item");
    EXPECT_EQ(ValueToJson(value), nlohmann::json({"first", "", "third item"}));
}

TEST(ValueFormatTest, EmptyMultiStringPrintsNoLineAndAnEmptyArray) {
    const ValueData value = YStringArray{};
    EXPECT_TRUE(FormatValueLines(value).empty());
    EXPECT_EQ(FormatValueInline(value), "");
    EXPECT_EQ(ValueToJson(value), nlohmann::json::array());
}

TEST(ValueFormatTest, UnpairedSurrogatesBecomeReplacementCharacters) {
    const ValueData value = YUnicodeString(u"a\xd800z");
    EXPECT_EQ(FormatValueInline(value), "a\xef\xbf\xbdz");
}

}  // namespace
}  // namespace rivode::cli
