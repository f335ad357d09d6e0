// Creating, renaming, moving and deleting sessions and folders: the store and each folder's
// stored order change together, and refused names change nothing.
#include "tests/config/database/SessionDatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

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

// Files the store holds in unusual ways: a value file without "Is Session", one with nothing
// readable, one that cannot be read (a link), a session with a folder of the same name spelt
// otherwise, an empty file. Listing, the kind queries and every operation must agree on what
// each is, and a refused operation must leave every byte where it was.
class OddSessionItemsTest : public SessionItemsTest {
protected:
    void WriteOddFolder() {
        std::filesystem::remove_all(Main("Sessions/Odd"));
        WriteValueFile(Main("Sessions/Odd/Bare.ini"), "S:\"Title Bar\"=bare\r\n");
        WriteValueFile(Main("Sessions/Odd/Blank.ini"), "\r\nS:\"Title Bar\"=blank\r\n");
        WriteSession("Elsewhere");
        std::filesystem::create_symlink(Main("Sessions/Elsewhere.ini"),
                                        Main("Sessions/Odd/Link.ini"));
        WriteSession("Odd/Both");
        WriteSession("Odd/both/Inner");
        WriteSession("Odd/alpha");
        WriteFileBytes(Main("Sessions/Odd/Empty.ini"), "");
    }

    // Every file below "Odd" but the folder data, with its bytes.
    std::map<std::string, std::string> OddFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(Main("Sessions/Odd"))) {
            if (entry.is_regular_file() && entry.path().filename() != "__FolderData__.ini") {
                files[entry.path().string()] = ReadFileBytes(entry.path().string());
            }
        }
        return files;
    }

    // Whether a file of that name is anywhere below "Sessions".
    bool Found(const std::string& file) const {
        const std::filesystem::recursive_directory_iterator files(Main("Sessions"));
        return std::any_of(begin(files), end(files),
                           [&](const auto& entry) { return entry.path().filename() == file; });
    }
};

TEST_F(OddSessionItemsTest, ListingKindsAndOperationsAgreeAndNothingIsLost) {
    WriteOddFolder();
    SessionDatabaseImpl& db = Database();
    // Lower case: a name found both as a folder and as a file is listed in either spelling.
    std::string listed = Listing(u"Odd");
    std::transform(listed.begin(), listed.end(), listed.begin(), ::tolower);
    EXPECT_EQ(listed, "|bare:blank:both:link:alpha:");
    for (const char16_t* session : {u"Odd\\Bare", u"Odd\\Blank", u"Odd\\Link", u"Odd\\Both"}) {
        EXPECT_TRUE(db.IsSession(session) && !db.IsFolder(session)) << ToUtf8(session);
    }
    EXPECT_FALSE(db.IsSession(u"Odd\\Empty") || db.IsFolder(u"Odd\\Empty"));

    struct Case {
        std::function<bool(YReportMessageParams&)> operation;
        std::string message;  // the report's start; empty: the operation succeeds
        std::vector<std::string> afterwards = {};  // files found after a success
    };
    const Case cases[] = {
        {[&](auto& r) { return db.RenameItem(u"Odd\\Bare", u"Plain", r); }, "", {"Plain.ini"}},
        {[&](auto& r) { return db.RenameItem(u"Odd\\both", u"Pair", r); },
         "",
         {"Pair.ini", "Inner.ini"}},
        {[&](auto& r) { return db.RenameItem(u"Odd\\Blank", u"Other", r); },
         "'Blank' was left as it is: what it holds could not be read whole"},
        {[&](auto& r) { return db.MoveItem(u"Odd\\Link", u"", r); },
         "The session or folder 'Link' could not be changed: "},
        {[&](auto& r) { return db.DeleteItem(u"Odd\\both", r); },
         "The session 'Odd\\both' was not deleted: a folder of the same name is stored with it"},
        {[&](auto& r) { return db.RenameItem(u"Odd\\Empty", u"Other", r); },
         "There is no session or folder 'Odd\\Empty'."},
        {[&](auto& r) { return db.RenameItem(u"Odd\\Bare", u"BOTH", r); },
         "The session name 'BOTH' already exists."},
        {[&](auto& r) { return db.MoveItem(u"Alpha", u"Odd", r); },
         "The session name 'Alpha' already exists."},
    };
    for (const Case& c : cases) {
        WriteOddFolder();
        const std::map<std::string, std::string> before = OddFiles();
        YReportMessageParams report;
        const bool done = c.operation(report);
        const std::string text = ToUtf8(report.GetTextTrimmed());
        EXPECT_EQ(done, c.message.empty()) << text;
        if (!done) {
            EXPECT_EQ(text.substr(0, c.message.size()), c.message);
            EXPECT_EQ(OddFiles(), before) << c.message;
        }
        for (const std::string& file : c.afterwards) {
            EXPECT_TRUE(Found(file)) << file;
        }
    }

    // A folder holding such a pair moves whole, or in part when the listing spells the name as
    // the file does; either way what the hidden folder holds is kept.
    WriteSession("Odd/Sub/Keep");
    WriteSession("Odd/Sub/keep/Deep");
    YReportMessageParams report;
    if (!db.RenameItem(u"Odd\\Sub", u"Moved", report)) {
        EXPECT_EQ(ToUtf8(report.GetTextTrimmed()).substr(0, 31), "The folder 'Sub' was moved, but");
    }
    EXPECT_TRUE(Found("Keep.ini") && Found("Deep.ini"));
}

}  // namespace
}  // namespace rivode::test
