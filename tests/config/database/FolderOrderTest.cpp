// A folder's stored order merged with the children that exist, and the listing modes.
#include "tests/config/database/SessionDatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace rivode::test {
namespace {

TEST(FolderOrderMergeTest, StoredOrderFirstThenNewNamesInCodeUnitOrder) {
    struct Case {
        const char16_t* stored;
        std::set<YUnicodeString> existing;
        const char16_t* merged;  // joined with ":"
        bool changed;
    };
    const Case cases[] = {
        {u"", {}, u"", false},
        {u"b:a:", {u"a", u"b"}, u"b:a:", false},       // unchanged
        {u"b:gone:a:", {u"a", u"b"}, u"b:a:", true},   // a dropped name
        {u"b:", {u"a", u"b", u"C"}, u"b:C:a:", true},  // new ones appended, "C" < "a"
        {u"", {u"x", u"X"}, u"X:x:", true},            // letter case is significant
        {u"a:a:", {u"a"}, u"a:", true},                // a second entry is dropped
        {u"a::b:", {u"a", u"b"}, u"a:b:", false},      // empty entries are no names
        {u"a:b", {u"a", u"b"}, u"a:b:", false},        // a last name without ":"
        {u"A:", {u"a"}, u"a:", true},                  // another spelling is dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.stored));
        const FolderOrderMerge merge = MergeFolderOrder(c.stored, c.existing);
        EXPECT_EQ(ToUtf8(JoinFolderOrder(merge.names)), ToUtf8(c.merged));
        EXPECT_EQ(merge.changed, c.changed);
    }
}

using FolderListingTest = SessionDatabaseTest;

TEST_F(FolderListingTest, ListsFoldersAndSessionsInStoredOrderOrSorted) {
    WriteSession("beta");
    WriteSession("Alpha");
    WriteSession("Work/inside");
    WriteSession("gamma");
    std::filesystem::create_directories(Main("Sessions/Lab"));
    WriteFolderData("", "Work:Gone:", "gamma:beta:");

    ProfileFolderData stored;
    ASSERT_TRUE(Database().ListFolder({}, stored));
    EXPECT_EQ(stored.GetFolders(), (YStringArray{u"Work", u"Lab"}));
    EXPECT_EQ(stored.GetSessions(), (YStringArray{u"gamma", u"beta", u"Alpha"}));
    EXPECT_TRUE(stored.IsOrderChanged());

    ProfileFolderData sorted;
    ASSERT_TRUE(Database().ListFolder({}, sorted, kFolderListAlphabetical));
    EXPECT_EQ(sorted.GetFolders(), (YStringArray{u"Lab", u"Work"}));
    EXPECT_EQ(sorted.GetSessions(), (YStringArray{u"Alpha", u"beta", u"gamma"}));
    EXPECT_FALSE(sorted.IsOrderChanged());

    // Saving the merged order makes it the stored one.
    YReportMessageParams report;
    ASSERT_TRUE(Database().SaveFolderOrder({}, stored, report)) << ToUtf8(report.GetText());
    EXPECT_EQ(Listing(), "Work:Lab:|gamma:beta:Alpha:");
    ProfileFolderData reread;
    ASSERT_TRUE(Database().ListFolder({}, reread));
    EXPECT_FALSE(reread.IsOrderChanged());

    EXPECT_FALSE(Database().ListFolder(u"gamma", reread));  // a session is no folder
    EXPECT_FALSE(Database().ListFolder(u"Missing", reread));
}

}  // namespace
}  // namespace rivode::test
