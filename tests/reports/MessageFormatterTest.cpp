#include "reports/MessageFormatter.h"

#include <gtest/gtest.h>

#include <optional>

namespace rivode::reports {
namespace {

class MessageFormatting : public ::testing::Test {
protected:
    static std::optional<YUnicodeString> Format(std::u16string_view raw,
                                                std::initializer_list<YUnicodeString> strings = {},
                                                bool singleLine = false) {
        const YStringArray array(strings);
        YUnicodeString out;
        MessageFormatOptions options;
        options.singleLine = singleLine;
        if (!FormatMessageText(raw, array, options, out)) {
            return std::nullopt;
        }
        return out;
    }
    static YUnicodeString Raw(std::u16string_view raw, bool singleLine = false) {
        YUnicodeString out;
        MessageFormatOptions options;
        options.ignoreInserts = true;
        options.singleLine = singleLine;
        EXPECT_TRUE(FormatMessageText(raw, {}, options, out));
        return out;
    }
    static YUnicodeString Number(std::u16string_view format, std::uint64_t number, bool is64Bit) {
        YUnicodeString out;
        EXPECT_TRUE(FormatNumberInsert(format, number, is64Bit, out)) << ToUtf8(format);
        return out;
    }
};

TEST_F(MessageFormatting, InsertsTakeTheirStringsInAnyOrder) {
    EXPECT_EQ(Format(u"Copy %2 to %1.\r\n", {u"dest", u"src"}), u"Copy src to dest.\r\n");
    EXPECT_EQ(Format(u"%1%1", {u"ab"}), u"abab");
    EXPECT_EQ(Format(u"%10!s!|", {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"ten"}),
              u"ten|");
    // Inserted text is data: its own percent signs and line breaks are not interpreted.
    EXPECT_EQ(Format(u"[%1]", {u"50%%\n%2"}), u"[50%%\n%2]");
}

TEST_F(MessageFormatting, PrintfFormatsApplyToNumbersHeldInStrings) {
    EXPECT_EQ(Format(u"%1!08x!", {u"255"}), u"000000ff");
    EXPECT_EQ(Format(u"%1!X!", {u"0x1f"}), u"1F");
    EXPECT_EQ(Format(u"%1!04d!", {u"7"}), u"0007");
    EXPECT_EQ(Format(u"%1!d!|%1!+d!|%1!5d!|%1!-5d!|", {u"-42"}), u"-42|-42|  -42|-42  |");
    EXPECT_EQ(Format(u"%1!+d! %1! d!", {u"3"}), u"+3  3");
    EXPECT_EQ(Format(u"%1!lu! %1!I64u! %1!o! %1!#o! %1!#x!", {u"8"}), u"8 8 10 010 0x8");
    EXPECT_EQ(Format(u"%1!.3d!|%1!06.3d!", {u"5"}), u"005|   005");
    EXPECT_EQ(Format(u"%1!hhu!", {u"257"}), u"1");
    EXPECT_EQ(Format(u"%1!x!", {u"-1"}), u"ffffffffffffffff");
    EXPECT_EQ(Format(u"%1!.2f! %1!e!", {u"3.14159"}), u"3.14 3.141590e+00");
}

TEST_F(MessageFormatting, NumericFormatMeetingTextShowsTheText) {
    EXPECT_EQ(Format(u"%1!d!", {u"abc"}), u"abc");
    EXPECT_EQ(Format(u"%1!5d!|%1!.1x!", {u"ab"}), u"   ab|ab");
    EXPECT_EQ(Format(u"%1!d!", {u""}), u"");
    EXPECT_EQ(Format(u"%1!d!", {u"99999999999999999999999"}), u"99999999999999999999999");
}

TEST_F(MessageFormatting, StringAndCharacterFormats) {
    EXPECT_EQ(Format(u"%1!s!|%1!5s!|%1!-5s!|%1!.1s!|", {u"ab"}), u"ab|   ab|ab   |a|");
    // Precision never splits a surrogate pair.
    EXPECT_EQ(Format(u"%1!.1s!", {u"\U0001F600x"}), u"");
    EXPECT_EQ(Format(u"%1!c!|%2!c!|%3!c!", {u":", u"65", u"\U0001F600"}), u":|A|\U0001F600");
    EXPECT_EQ(Format(u"%1!c!", {u"1114112"}), u"\uFFFD");
}

TEST_F(MessageFormatting, EscapesOfTheInsertSyntax) {
    EXPECT_EQ(Format(u"Log file name must contain '%%D'."), u"Log file name must contain '%D'.");
    EXPECT_EQ(Format(u"one%ntwo%tthree%rfour%.%!"), u"one\r\ntwo\tthree\rfour.!");
    EXPECT_EQ(Format(u"Configuration passphrase:% \r\n"), u"Configuration passphrase: \r\n");
    EXPECT_EQ(Format(u"100%"), u"100%");
    EXPECT_EQ(Format(u"a%\r\nb"), u"a\r\nb");
}

TEST_F(MessageFormatting, PercentZeroEndsTheTextWithoutItsLineBreak) {
    EXPECT_EQ(Format(u"Press Enter:%0\r\n"), u"Press Enter:");
    EXPECT_EQ(Format(u"%1%0%2\r\n", {u"a", u"b"}), u"a");
    EXPECT_EQ(Raw(u"keep %1%0 gone"), u"keep %1");
}

TEST_F(MessageFormatting, LineBreaksInBothModes) {
    EXPECT_EQ(Format(u"Line one\r\nLine two\r\n"), u"Line one\r\nLine two\r\n");
    EXPECT_EQ(Format(u"lf\nand cr\r"), u"lf\r\nand cr\r\n");
    EXPECT_EQ(Format(u"Line one\r\nLine two\r\n", {}, true), u"Line one Line two ");
    EXPECT_EQ(Format(u"Question?\r\n\r\nSure?%nReally?\r\n", {}, true),
              u"Question?  Sure?\r\nReally? ");
}

TEST_F(MessageFormatting, IgnoredInsertsStayAsWrittenForTheCallerToFill) {
    EXPECT_EQ(Raw(u"Log Files (%1)\r\n", true), u"Log Files (%1) ");
    EXPECT_EQ(Raw(u"%1!08x! %% %. % |%n"), u"%1!08x! %% %. % |\r\n");
    EXPECT_EQ(Raw(u"%1!unterminated"), u"%1!unterminated");
    EXPECT_EQ(Raw(u"%123!x"), u"%123!x");
}

TEST_F(MessageFormatting, MalformedInsertsAreRefused) {
    EXPECT_FALSE(Format(u"%1!", {u"a"}));
    EXPECT_FALSE(Format(u"%1!d", {u"a"}));
    EXPECT_FALSE(Format(u"%1!q!", {u"a"}));
    EXPECT_FALSE(Format(u"%1!!", {u"a"}));
    EXPECT_FALSE(Format(u"%1!*d!", {u"5", u"6"}));
    EXPECT_FALSE(Format(u"%1!99999d!", {u"5"}));
    EXPECT_FALSE(Format(u"%1!d x!", {u"5"}));
    EXPECT_FALSE(Format(u"%100", {u"a"}));
    EXPECT_FALSE(Format(u"%1 %3", {u"a", u"b"}));
}

TEST_F(MessageFormatting, HighestInsertScan) {
    EXPECT_EQ(FindHighestInsert(u"%1 and %3"), 3u);
    EXPECT_EQ(FindHighestInsert(u"none %% %0 %n"), 0u);
    EXPECT_EQ(FindHighestInsert(u"%%1 is a percent sign and a one"), 0u);
    EXPECT_EQ(FindHighestInsert(u"%%%2"), 2u);
    EXPECT_EQ(FindHighestInsert(u"%1!d! %12!s!"), 12u);
    EXPECT_EQ(FindHighestInsert(u"%0%7"), 7u);
    EXPECT_EQ(FindHighestInsert(u"%99999999999999999999999999"), SIZE_MAX);
    EXPECT_EQ(FindHighestInsert(u"ends in %"), 0u);
}

TEST_F(MessageFormatting, NumbersHandedInAsNumbers) {
    EXPECT_EQ(Number(u"%1!08x!", 0x1A, false), u"0000001a");
    EXPECT_EQ(Number(u"%1!d!", 0xFFFFFFFF, false), u"-1");
    EXPECT_EQ(Number(u"%1!u!", 0xFFFFFFFF, false), u"4294967295");
    EXPECT_EQ(Number(u"%1!d!", UINT64_MAX, true), u"-1");
    EXPECT_EQ(Number(u"%1!I64u!", UINT64_MAX, true), u"18446744073709551615");
    EXPECT_EQ(Number(u"%1!c!", u'|', false), u"|");
    EXPECT_EQ(Number(u"%1!s! items", 12, false), u"12 items");
    EXPECT_EQ(Number(u"%1!02X!%1!02X!", 10, false), u"0A0A");
    EXPECT_EQ(Number(u"%1!.1f!", 3, false), u"3.0");
    YUnicodeString out;
    EXPECT_FALSE(FormatNumberInsert(u"%1!z!", 1, false, out));
}

}  // namespace
}  // namespace rivode::reports
