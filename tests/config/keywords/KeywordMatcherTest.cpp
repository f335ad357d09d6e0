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
    auto list = MakeList({u"\"fail\\w+\",00000001,00000001", u"\"a.b\",00000002,00000001"},
                         false, true);
    EXPECT_EQ(Spans(*list, u"FAILED a\nb axb"),
              (std::vector<HighlightSpan>{{0, 6, 1}, {11, 3, 2}}));
    list = MakeList({u"\"fail\\w+\",00000001,00000001"}, true, true);
    EXPECT_TRUE(Spans(*list, u"FAILED").empty());
    // An expression that does not compile highlights nothing and spoils nothing.
    list = MakeList({u"\"([\",00000001,00000001", u"\"ok\",00000002,00000000"}, false, true);
    EXPECT_EQ(Spans(*list, u"ok"), (std::vector<HighlightSpan>{{0, 2, 2}}));
}

TEST(KeywordMatcherTest, OverlapsGoToTheEarliestThenLongestThenFirstListed) {
    const auto list =
        MakeList({u"\"disk\",00000001,00000000", u"\"disk full\",00000002,00000000",
                  u"\"full disk\",00000003,00000000", u"\"DISK\",00000004,00000000",
                  u"\"k f\",00000005,00000000"},
                 false, true);
    EXPECT_EQ(Spans(*list, u"disk full disk"),
              (std::vector<HighlightSpan>{{0, 9, 2}, {10, 4, 1}}));
}

}  // namespace
}  // namespace rivode::test
