#include <RivodeRavudaVU/HexDigits.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rivode {
namespace {

// The neighbours of every digit range, a byte above ASCII taken as a char, a wide digit and a
// character whose low byte is a digit must all be refused.
TEST(HexDigits, OnlyTheSixteenDigitsOfEitherCaseHaveAValue) {
    for (const char32_t c : {U'/', U':', U'@', U'G', U'`', U'g', U'\uFF10', U'\u0130'}) {
        EXPECT_EQ(HexDigitValue(c), -1) << static_cast<unsigned>(c);
    }
    EXPECT_EQ(HexDigitValue('\xB0'), -1);
    EXPECT_EQ(HexDigitValue(u'\u0141'), -1);
    EXPECT_EQ(HexByteValue('f', 'F'), 0xFF);
    EXPECT_EQ(HexByteValue(u'0', u'9'), 0x09);
    EXPECT_EQ(HexByteValue('a', 'x'), -1);
}

TEST(HexDigits, BytesDecodeOnlyFromWholePairs) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(DecodeHexBytes(u"00aB7f", bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x00, 0xAB, 0x7F}));
    for (const std::string_view bad : {"abc", "0g", "0 ", " 00", "+1"}) {
        EXPECT_FALSE(DecodeHexBytes(bad, bytes)) << bad;
    }
    std::string text;
    const std::uint8_t block[] = {0x0A, 0xF0};
    AppendHexBytes(block, 2, true, text);
    AppendHexBytes(block, 2, false, text, ' ');
    EXPECT_EQ(text, "0AF00a f0");
}

}  // namespace
}  // namespace rivode
