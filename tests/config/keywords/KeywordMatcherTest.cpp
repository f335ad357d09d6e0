// What the matcher highlights: whole words, case, phrases, expressions and overlaps.
#include <RivodeRavudaVU/KeywordMatcher.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

YRefPtr<HighlightConfig> MakeList(const YStringArray& lines, bool matchCase, bool lineMode) {
    YRefPtr<HighlightConfig> list = CreateHighlightConfig();
    list->SetMatchCase(matchCase);
    list->SetRegexLineMode(lineMode);
    list->SetLines(lines);
    return list;
}

std::vector<HighlightSpan> Spans(const HighlightConfig& list, std::u16string_view text) {
    return KeywordMatcher(list).Match(text);
}

TEST(KeywordMatcherTest, WholeWordsNeedBoundariesOnlyAtWordEdges) {
    const auto list = MakeList({u"\"error\",00000001,00000000", u"\"err:\",00000002,00000000",
                                u"\"café\",00000003,00000000"},
                               false, false);
    EXPECT_EQ(Spans(*list, u"ERROR: errors error_x xerror"),
              (std::vector<HighlightSpan>{{0, 5, 1}}));
    EXPECT_EQ(Spans(*list, u"err:x"), (std::vector<HighlightSpan>{{0, 4, 2}}));
    EXPECT_EQ(Spans(*list, u"(Error)"), (std::vector<HighlightSpan>{{1, 5, 1}}));
    EXPECT_EQ(Spans(*list, u"CAFÉ cafés"), (std::vector<HighlightSpan>{{0, 4, 3}}));
}

TEST(KeywordMatcherTest, PhrasesMatchInsideWordsAndMatchCaseIsExact) {
    auto list = MakeList({u"\"Disk Full\",00000001,00000000"}, false, true);
    EXPECT_EQ(Spans(*list, u"xdisk fullx"), (std::vector<HighlightSpan>{{1, 9, 1}}));
    list = MakeList({u"\"Disk Full\",00000001,00000000"}, true, true);
    EXPECT_TRUE(Spans(*list, u"disk full").empty());
    EXPECT_EQ(Spans(*list, u"Disk Full Disk Full").size(), 2u);
}

TEST(KeywordMatcherTest, ExpressionsFollowMatchCaseAndStayWithinALine) {
    auto list =
        MakeList({u"\"fail\\w+\",00000001,00000001", u"\"a.b\",00000002,00000001"}, false, true);
    EXPECT_EQ(Spans(*list, u"FAILED a\nb axb"),
              (std::vector<HighlightSpan>{{0, 6, 1}, {11, 3, 2}}));
    list = MakeList({u"\"fail\\w+\",00000001,00000001"}, true, true);
    EXPECT_TRUE(Spans(*list, u"FAILED").empty());
    // An expression that does not compile highlights nothing and spoils nothing.
    list = MakeList({u"\"([\",00000001,00000001", u"\"ok\",00000002,00000000"}, false, true);
    EXPECT_EQ(Spans(*list, u"ok"), (std::vector<HighlightSpan>{{0, 2, 2}}));
}

TEST(KeywordMatcherTest, OverlapsGoToTheEarliestThenLongestThenFirstListed) {
    const auto list = MakeList({u"\"disk\",00000001,00000000", u"\"disk full\",00000002,00000000",
                                u"\"full disk\",00000003,00000000", u"\"DISK\",00000004,00000000",
                                u"\"k f\",00000005,00000000"},
                               false, true);
    EXPECT_EQ(Spans(*list, u"disk full disk"), (std::vector<HighlightSpan>{{0, 9, 2}, {10, 4, 1}}));
}

TEST(KeywordMatcherTest, ALongLineDoesNotExhaustTheExpressionSearch) {
    const auto list =
        MakeList({u"\"(a|b)*c\",00000001,00000001", u"\"(x)\\1\",00000002,00000001"}, false, true);
    const YUnicodeString line = YUnicodeString(200000, u'a') + u"c";
    const std::vector<HighlightSpan> spans = Spans(*list, line);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].length, line.size());
    // A back-reference is searched only in short lines.
    EXPECT_EQ(Spans(*list, u"xx").size(), 1u);
    EXPECT_TRUE(Spans(*list, YUnicodeString(5000, u'.') + u"xx").empty());
}

// Expressions that begin with fixed text are tried only where it occurs: an optional last letter
// or an alternation must not hide matches.
TEST(KeywordMatcherTest, AnExpressionsFixedBeginningNeverHidesAMatch) {
    const auto list =
        MakeList({u"\"colou?r\",00000001,00000001", u"\"ab{2}c\",00000002,00000001",
                  u"\"cat|dog\",00000003,00000001", u"\"\\bpid=\\d+\",00000004,00000001"},
                 false, true);
    EXPECT_EQ(
        Spans(*list, u"Color colour abbc ac dog xpid=1 pid=22"),
        (std::vector<HighlightSpan>{{0, 5, 1}, {6, 6, 1}, {13, 4, 2}, {21, 3, 3}, {32, 6, 4}}));

    const auto brackets =
        MakeList({u"\"[0-9]+\\.[0-9]+\",00000001,00000001", u"\"[A-Z]{2}-[0-9]\",00000002,00000001",
                  u"\"[a-c]*x\",00000003,00000001"},
                 false, true);
    EXPECT_EQ(Spans(*brackets, u"v1.25 ab-7 zx"),
              (std::vector<HighlightSpan>{{1, 4, 1}, {6, 4, 2}, {12, 1, 3}}));
}

}  // namespace
}  // namespace rivode::test
