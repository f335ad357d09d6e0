// Creating, renaming, moving and deleting sessions and folders: the store and each folder's
// stored order change together, and refused names change nothing.
#include "tests/config/database/SessionDatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace rivode::test {
namespace {

class SessionItemsTest : public SessionDatabaseTest {
protected:
    SessionItemsTest() {
        WriteSession("Zulu", "S:\"Title Bar\"=zulu\r\n");
        WriteSession("Alpha");
        WriteSession("Mike");
        WriteSession("Work/Server", "S:\"Title Bar\"=server\r\n");
        WriteSession("Work/Jump/Inner");
        std::filesystem::create_directories(Main("Sessions/Home"));
        WriteFolderData("", "Work:Home:", "Zulu:Alpha:Mike:");
        WriteFolderData("Work", "", "Server:");
    }

    // Runs an operation that must succeed.
    template <class Operation>
    void Succeeds(Operation operation) {
        YReportMessageParams report;
        EXPECT_TRUE(operation(report)) << ToUtf8(report.GetText());
    }
    // Runs an operation that must fail, returning its message.
    template <class Operation>
    std::string Fails(Operation operation) {
        YReportMessageParams report;
        EXPECT_FALSE(operation(report));
        return ToUtf8(report.GetTextTrimmed());
    }

    std::string TitleOf(const YUnicodeString& path) {
        const YRefPtr<ISessionConfig> session = Database().OpenSession(path);
        return session ? ToUtf8(AsRecord(*session).titleBar.Get()) : "<none>";
    }
};

TEST_F(SessionItemsTest, RenamesInPlaceInTheOrder) {
    SessionDatabaseImpl& db = Database();
    Succeeds([&](auto& r) { return db.RenameItem(u"Alpha", u"Bravo", r); });
    Succeeds([&](auto& r) { return db.RenameItem(u"Zulu", u"zulu", r); });  // letter case only
    Succeeds([&](auto& r) { return db.RenameItem(u"Work", u"Office", r); });
    EXPECT_EQ(Listing(), "Office:Home:|zulu:Bravo:Mike:");
    EXPECT_EQ(TitleOf(u"zulu"), "zulu");
    EXPECT_EQ(TitleOf(u"Office\\Server"), "server");
    EXPECT_EQ(Listing(u"Office"), "Jump:|Server:");
    EXPECT_FALSE(db.Exists(u"Alpha"));
}

TEST_F(SessionItemsTest, MovesToTheEndOfTheTargetOrder) {
    SessionDatabaseImpl& db = Database();
    Succeeds([&](auto& r) { return db.MoveItem(u"Zulu", u"Work", r); });
    Succeeds([&](auto& r) { return db.MoveItem(u"Home", u"Work\\Jump", r); });
    Succeeds([&](auto& r) { return db.MoveItem(u"Work\\Jump\\Inner", u"", r); });
    EXPECT_EQ(Listing(), "Work:|Alpha:Mike:Inner:");
    EXPECT_EQ(Listing(u"Work"), "Jump:|Server:Zulu:");
    EXPECT_EQ(Listing(u"Work\\Jump"), "Home:|");
    EXPECT_EQ(TitleOf(u"Work\\Zulu"), "zulu");
}

TEST_F(SessionItemsTest, CreatesAndDeletesWithTheOrder) {
    SessionDatabaseImpl& db = Database();
    Succeeds([&](auto& r) { return db.CreateFolder(u"Lab", r); });
    Succeeds([&](auto& r) { return db.CreateFolder(u"Work\\Jump\\Deep", r); });
    Succeeds([&](auto& r) { return db.DeleteItem(u"Alpha", r); });
    Succeeds([&](auto& r) { return db.DeleteItem(u"Work", r); });
    EXPECT_EQ(Listing(), "Home:Lab:|Zulu:Mike:");
    EXPECT_TRUE(db.IsFolder(u"Lab"));
    EXPECT_FALSE(OnDisk("Work"));
    EXPECT_FALSE(OnDisk("Alpha.ini"));
}

TEST_F(SessionItemsTest, RefusalsChangeNothing) {
    SessionDatabaseImpl& db = Database();
    struct Case {
        std::function<bool(YReportMessageParams&)> operation;
        const char* message;
    };
    const Case cases[] = {
        {[&](auto& r) { return db.RenameItem(u"Alpha", u"mike", r); },
         "The session name 'mike' already exists."},
        {[&](auto& r) { return db.RenameItem(u"Work", u"nul.x", r); },
         "'nul.x' is a reserved device name and cannot be used as a folder name."},
        {[&](auto& r) { return db.RenameItem(u"Alpha", u"...", r); },
         "'...' cannot be used as a name."},
        {[&](auto& r) { return db.RenameItem(u"Alpha", u"__FolderData__", r); },
         "The session name '__FolderData__' already exists."},
        {[&](auto& r) { return db.CreateFolder(u"", r); }, "The folder name must be specified."},
        {[&](auto& r) { return db.CreateFolder(u"Missing\\New", r); },
         "There is no folder 'Missing'."},
        {[&](auto& r) { return db.MoveItem(u"Work", u"Work\\Jump", r); },
         "The folder 'Work' cannot be moved into itself or into one of its folders."},
        {[&](auto& r) { return db.MoveItem(u"Work\\Jump\\Inner", u"Work\\Server", r); },
         "There is no folder 'Work\\Server'."},
        {[&](auto& r) { return db.DeleteItem(u"Nothing", r); },
         "There is no session or folder 'Nothing'."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(Fails(c.operation), c.message);
    }
    WriteSession("Work/Jump/Alpha");
    EXPECT_EQ(Fails([&](auto& r) { return db.MoveItem(u"Alpha", u"Work\\Jump", r); }),
              "The session name 'Alpha' already exists.");
    EXPECT_EQ(Listing(), "Work:Home:|Zulu:Alpha:Mike:");
    EXPECT_EQ(Listing(u"Work"), "Jump:|Server:");
}

}  // namespace
}  // namespace rivode::test
