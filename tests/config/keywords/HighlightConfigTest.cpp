// Keyword lines both ways, loading a list (the older form, the defaults of the match style, the
// length and shape rules) and the editor's verification.
#include "tests/storage/MemoryKey.h"

#include <RivodeRavudaVU/HighlightConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

TEST(KeywordLineTest, TheKeywordRunsToTheLastQuoteAndMissingFieldsTakeDefaults) {
    const struct {
        std::u16string_view line;
        std::optional<KeywordLine> parsed;
    } cases[] = {
        {u"\"ERROR\",0000ff00,00000000", KeywordLine{u"ERROR", 0xff00, false}},
        {u"\"say \"hi\"\",00000001,00000001", KeywordLine{u"say \"hi\"", 1, true}},
        {u"\"x\"", KeywordLine{u"x", kDefaultKeywordColor, false}},
        {u"\"x\",zz,2", KeywordLine{u"x", kDefaultKeywordColor, true}},
        {u"\"x\"junk,00000010", KeywordLine{u"x", 0x10, false}},  // the first field is ignored
        {u"\"\"", KeywordLine{u"", kDefaultKeywordColor, false}},
        {u"x\",1,1", std::nullopt},  // no opening quote
        {u"\"x,1,1", std::nullopt},  // no closing quote
        {u"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseKeywordLine(c.line), c.parsed) << ToUtf8(c.line);
    }
    const KeywordLine line{u"a \"b\"", 0x00ABCDEF, true};
    EXPECT_EQ(FormatKeywordLine(line), u"\"a \"b\"\",00abcdef,00000001");
    EXPECT_EQ(ParseKeywordLine(FormatKeywordLine(line)), line);
}

TEST(KeywordShapeTest, WholeWordsRefuseBlanksAndBareSpaceEscapes) {
    const struct {
        std::u16string_view keyword;
        bool regex, lineMode, accepted;
    } cases[] = {
        {u"disk full", false, false, false},
        {u"disk\tfull", false, false, false},
        {u"disk full", false, true, true},
        {u"disk\r\nfull", false, true, false},
        {u"a\\sb", true, false, false},
        {u"a/\\sb", true, false, true},
        {u"\\d+\\.\\d", true, false, true},
        {u"a\\\\sb", true, false, true},  // an escaped backslash, then a plain s
        {u"a\\r", true, false, false},
        {u"a\\s", true, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckKeywordShape(c.keyword, c.regex, c.lineMode), c.accepted)
            << ToUtf8(c.keyword) << " regex " << c.regex << " line mode " << c.lineMode;
    }
}

class HighlightConfigTest : public ::testing::Test {
protected:
    YRefPtr<HighlightConfig> Load() {
        YRefPtr<HighlightConfig> list = CreateHighlightConfig();
        list->Load(MakeMemoryKey(stored_).get());
        return list;
    }
    std::shared_ptr<MemoryValues> stored_ = std::make_shared<MemoryValues>();
};

TEST_F(HighlightConfigTest, AnEmptyListMatchesPhrasesAndAStoredOneWholeWords) {
    EXPECT_TRUE(Load()->GetRegexLineMode());
    EXPECT_FALSE(Load()->GetMatchCase());
    stored_->values[u"Keyword List V2"] = YStringArray{};
    EXPECT_FALSE(Load()->GetRegexLineMode());
    stored_->values[u"Regex Line Mode"] = std::uint32_t{1};
    EXPECT_TRUE(Load()->GetRegexLineMode());
}

TEST_F(HighlightConfigTest, TheOlderListLoadsAsWholeWordsAndIsSavedAsLines) {
    stored_->values[u"Keyword List"] = YUnicodeString(u"Error,ff00;  Warn ;;fatal");
    const YRefPtr<HighlightConfig> list = Load();
    EXPECT_FALSE(list->GetRegexLineMode());
    ASSERT_EQ(list->GetEntries().size(), 3u);
    EXPECT_EQ(list->GetEntries()[0].keyword, u"error");
    EXPECT_EQ(list->GetEntries()[0].color, 0xff00u);
    EXPECT_EQ(list->GetEntries()[1].color, kDefaultKeywordColor);
    ASSERT_TRUE(list->Save(*MakeMemoryKey(stored_)));
    const YStringArray* lines = stored_->Find<YStringArray>(u"Keyword List V2");
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(*lines, (YStringArray{u"\"Error\",0000ff00,00000000", u"\"Warn\",000000ff,00000000",
                                    u"\"fatal\",000000ff,00000000"}));
    EXPECT_EQ(*stored_->Find<std::uint32_t>(u"Regex Line Mode"), 0u);
}

TEST_F(HighlightConfigTest, LoadingDropsTooLongAndMisshapenKeywordsAndFoldsPlainWholeWords) {
    const YUnicodeString long256(256, u'k');
    const YUnicodeString long257(257, u'k');
    stored_->values[u"Keyword List V2"] = YStringArray{
        u"\"ERROR\",00000001,00000000",
        u"\"[A-Z]+ERR\",00000002,00000001",
        u"\"two words\",00000003,00000000",
        u"not a line",
        u"\"" + long256 + u"\",00000004,00000000",
        u"\"" + long257 + u"\",00000005,00000001",
    };
    YRefPtr<HighlightConfig> list = Load();
    const auto& entries = list->GetEntries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].keyword, u"error");      // plain, whole words, case ignored
    EXPECT_EQ(entries[1].keyword, u"[A-Z]+ERR");  // an expression keeps its case
    EXPECT_EQ(entries[2].color, 4u);
    EXPECT_EQ(list->GetRegularExpressionCount(), 1u);

    stored_->values[u"Match Case"] = std::uint32_t{1};
    EXPECT_EQ(Load()->GetEntries()[0].keyword, u"ERROR");
    stored_->values[u"Match Case"] = std::uint32_t{0};
    stored_->values[u"Regex Line Mode"] = std::uint32_t{1};
    list = Load();
    EXPECT_EQ(list->GetEntries()[0].keyword, u"ERROR");  // phrases keep their case
    EXPECT_EQ(list->GetEntries()[2].keyword, u"two words");
}

TEST_F(HighlightConfigTest, VerificationRefusesInTheEditorsOrder) {
    stored_->values[u"Keyword List V2"] = YStringArray{u"\"dup\",000000ff,00000000"};
    const YRefPtr<HighlightConfig> list = Load();  // whole words
    const YUnicodeString long257(257, u'k');
    const struct {
        YUnicodeString keyword;
        bool regex, skipDuplicates;
        std::uint32_t id;
    } cases[] = {
        {u"a b", false, false, msg::KeywordHasSpaces},
        {u"a b", true, false, msg::RegexHasSpaces},
        {u"dup", false, false, msg::KeywordAlreadyInList},
        {u"dup", true, false, 0},  // the same text as an expression is another keyword
        {u"dup", false, true, 0},
        {long257, false, false, msg::KeywordTooLong},
        {long257, true, false, 0},  // passes here, dropped when the list is loaded
        {YUnicodeString(256, u'k'), false, false, 0},
    };
    for (const auto& c : cases) {
        YReportMessageParams report;
        EXPECT_EQ(VerifyKeyword(*list, c.keyword, c.regex, c.skipDuplicates, report), c.id == 0)
            << ToUtf8(c.keyword.substr(0, 10));
        EXPECT_EQ(report.GetMessageId(), c.id) << ToUtf8(c.keyword.substr(0, 10));
    }
    YReportMessageParams report;
    ASSERT_FALSE(VerifyKeyword(*list, long257, false, false, report));
    EXPECT_EQ(ToUtf8(report.GetTextTrimmed()),
              "Keywords that are not regular expressions are limited to 256 characters.");
}

TEST(KeywordStyleTest, ANamedListNeedsAtLeastOneWayOfHighlighting) {
    YReportMessageParams report;
    EXPECT_TRUE(ValidateKeywordHighlightStyle(u"", false, false, false, report));
    EXPECT_TRUE(ValidateKeywordHighlightStyle(u"Errors", false, false, true, report));
    EXPECT_TRUE(ValidateKeywordHighlightStyle(u"Errors", true, false, false, report));
    EXPECT_FALSE(ValidateKeywordHighlightStyle(u"Errors", false, false, false, report));
    EXPECT_EQ(report.GetMessageId(), rivode::msg::KeywordStyleRequired);
}

}  // namespace
}  // namespace rivode::test
