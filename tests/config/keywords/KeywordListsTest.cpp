// The lists under "Keywords": names, saving, renaming and the list a session names.
#include "tests/config/database/SessionDatabaseTestSupport.h"

#include <RivodeRavudaVU/KeywordLists.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class KeywordListsTest : public SessionDatabaseTest {
protected:
    void WriteList(const std::string& name, const std::string& lines) {
        WriteValueFile(Main("Keywords/" + name + ".ini"), lines);
    }
};

TEST_F(KeywordListsTest, NamesAreCheckedInsideTheKeywordsCollection) {
    WriteList("Errors", "D:\"Match Case\"=00000000\r\n");
    WriteSession("errors2");  // a session's name is no list's name
    const struct {
        std::u16string_view oldName, newName;
        bool isNew;
        std::uint32_t id;
    } cases[] = {
        {u"", u"ERRORS", true, msg::ItemNameExists},
        {u"", u"errors2", true, 0},
        {u"", u"a:b", true, msg::ItemNameIllegalCharacter},  // each rule: KeyNameTest's
        {u"Errors", u"ERRORS", false, 0},
    };
    for (const auto& c : cases) {
        YReportMessageParams report;
        EXPECT_EQ(ValidateKeywordListName(YUnicodeString(c.oldName), YUnicodeString(c.newName),
                                          c.isNew, report),
                  c.id == 0)
            << ToUtf8(c.newName);
        EXPECT_EQ(report.GetMessageId(), c.id) << ToUtf8(c.newName);
    }
}

TEST_F(KeywordListsTest, ANewListIsWrittenWholeAndRenamesKeepEveryValue) {
    const YRefPtr<HighlightConfig> list = CreateHighlightConfig();
    list->SetLines({u"\"x\",000000ff,00000000"});
    list->SetMatchCase(true);
    YReportMessageParams report;
    ASSERT_TRUE(SaveKeywordList(u"Errors", *list, report));
    ASSERT_TRUE(RenameKeywordList(u"errors", u"ERRORS", report)) << ToUtf8(report.GetText());
    EXPECT_EQ(GetKeywordListNames(), (YStringArray{u"ERRORS"}));
    ASSERT_TRUE(RenameKeywordList(u"errors", u"Faults", report)) << ToUtf8(report.GetText());
    YUnicodeString stored;
    const YRefPtr<HighlightConfig> renamed = OpenKeywordList(u"FAULTS", report, &stored);
    ASSERT_TRUE(renamed);
    EXPECT_EQ(stored, u"Faults");
    EXPECT_TRUE(renamed->GetMatchCase());
    EXPECT_TRUE(renamed->GetRegexLineMode());
    EXPECT_EQ(renamed->GetLines().size(), 1u);
    ASSERT_TRUE(DeleteKeywordList(u"faults", report));
    EXPECT_FALSE(OpenKeywordList(u"Faults", report));
    EXPECT_EQ(report.GetMessageId(), msg::KeywordListNotFound);
}

TEST_F(KeywordListsTest, ASessionsKeywordSetNamesAListIgnoringCase) {
    WriteList("Errors", "Z:\"Keyword List V2\"=00000001\r\n \"boom\",000000ff,00000000\r\n");
    WriteSession("One", "S:\"Keyword Set\"=ERRORS\r\n");
    WriteSession("Two", "S:\"Keyword Set\"=Missing\r\n");
    YReportMessageParams report;
    const YRefPtr<HighlightConfig> list =
        OpenSessionKeywordList(*Database().OpenSession(u"One", report));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->GetEntries().at(0).keyword, u"boom");
    EXPECT_FALSE(OpenSessionKeywordList(*Database().OpenSession(u"Two", report)));
}

}  // namespace
}  // namespace rivode::test
