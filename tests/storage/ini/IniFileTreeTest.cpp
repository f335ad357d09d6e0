#include "tests/storage/FaultyFileSystem.h"
#include "tests/storage/IniFileTestSupport.h"

#include <RivodeRavudaVU/YDiagnosticTrace.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>

namespace {

using rivode::test::DwordOf;
using rivode::test::kBom;
using rivode::test::ReadFileBytes;
namespace fs = std::filesystem;

// The key tree on disk: listings, names found without regard to case, removal and limits.
class IniFileTreeTest : public rivode::test::IniStoreTest {
protected:
    void SetUp() override { store_ = OpenStore(true); }
    YProfileKey& Root() { return store_->GetRootKey(); }
    std::unique_ptr<YProfileStore> store_;
};

TEST_F(IniFileTreeTest, ListingMergesFoldersAndFilesAndSortsWithoutRegardToCase) {
    fs::create_directories(Main("Sessions/Sub"));
    fs::create_directories(Main("Sessions/OnlyFolder"));
    WriteValueFile(Main("Sessions/SUB.INI"), "");
    WriteValueFile(Main("Sessions/file.Ini"), "");
    WriteValueFile(Main("Sessions/.ini"), "");
    WriteValueFile(Main("Sessions/notes.txt"), "");
    fs::create_directories(Personal("Sessions/PersonalOnly"));
    const auto listed = rivode::test::ListOf(YProfileKey(Root(), u"Sessions"), false);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0], std::pair(YUnicodeString(u"file"), int{ValueKindSubKeyFile}));
    EXPECT_EQ(listed[1], std::pair(YUnicodeString(u"OnlyFolder"), int{ValueKindSubKeyFolder}));
    EXPECT_TRUE(rivode::EqualsNoCase(listed[2].first, u"sub"));
    EXPECT_EQ(listed[2].second, ValueKindSubKeyFolderFile);
    // Whether a subkey exists is a question for the main root alone.
    EXPECT_TRUE(Root().SubKeyExists(u"Sessions\\OnlyFolder"));
    EXPECT_TRUE(Root().SubKeyExists(u"Sessions\\FILE"));
    EXPECT_FALSE(Root().SubKeyExists(u"Sessions\\PersonalOnly"));
    EXPECT_FALSE(Root().SubKeyExists(u"Sessions\\Missing"));
    EXPECT_FALSE(Root().SubKeyExists(u".."));
}

TEST_F(IniFileTreeTest, ExistingComponentsAreFoundWithoutRegardToCaseOrExtraSeparators) {
    WriteValueFile(Main("Sessions/Work/Server.ini"), "D:\"Port\"=00000016\r\n");
    fs::create_directories(Main("server"));
    WriteValueFile(Main("SERVER.ini"), "D:\"Port\"=00000016\r\n");
    {
        YProfileKey key(Root(), u"SESSIONS\\work\\server");
        EXPECT_EQ(DwordOf(key, u"Port"), 22u);
        ASSERT_TRUE(key.SetDword(u"Port", 23));
        YProfileKey fresh(Root(), u"sessions\\NewOne", true);
        ASSERT_TRUE(fresh.SetDword(u"v", 1));
    }
    EXPECT_EQ(ReadFileBytes(Main("Sessions/Work/Server.ini")), kBom + "D:\"Port\"=00000017\r\n");
    EXPECT_TRUE(fs::exists(Main("Sessions/NewOne.ini"))) << "new components keep their spelling";
    EXPECT_FALSE(fs::exists(Main("sessions")));
    EXPECT_TRUE(Root().SubKeyExists(u"sessions\\WORK\\SERVER"));
    // A value file beside a folder of another case; separators doubled or at the ends.
    EXPECT_EQ(DwordOf(YProfileKey(Root(), u"Server"), u"Port"), 22u);
    EXPECT_EQ(DwordOf(YProfileKey(Root(), u"\\Sessions\\\\Work\\Server\\"), u"Port"), 23u);
}

// A value file whose extension is spelled in another case is the key's file, whichever way the
// key is opened: it is read, and rewritten under its own name instead of gaining a twin.
TEST_F(IniFileTreeTest, ValueFileExtensionInAnotherCaseIsReadAndKeptOnRewrite) {
    const struct {
        const char* file;
        bool throughParent;
    } cases[] = {{"Work.INI", false}, {"Home.Ini", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string file = Main(std::string("Sessions/") + c.file);
        WriteValueFile(file, "D:\"Port\"=00000016\r\n");
        const std::u16string base = rivode::FromUtf8(std::string(c.file).substr(0, 4));
        {
            YProfileKey sessions(Root(), u"Sessions");
            std::optional<YProfileKey> key;
            if (c.throughParent) {
                key.emplace(sessions, base);
            } else {
                key.emplace(Root(), u"Sessions\\" + base);
            }
            EXPECT_EQ(DwordOf(*key, u"Port"), 22u);
            ASSERT_TRUE(key->SetDword(u"Port", 23));
        }
        EXPECT_EQ(ReadFileBytes(file), kBom + "D:\"Port\"=00000017\r\n");
        EXPECT_FALSE(fs::exists(file.substr(0, file.size() - 4) + ".ini"));
    }
}

// Subkeys opened one level at a time share their parent's folder listing: names of another case
// are still found, including those of keys created through the same parent, and creating many
// subkeys lists the folder once instead of once each.
TEST_F(IniFileTreeTest, SubKeysOfOneKeyShareOneListingOfTheirFolder) {
    WriteValueFile(Main("Sessions/Server.ini"), "D:\"Port\"=00000016\r\n");
    rivode::test::FaultyFileSystem counting;
    {
        YProfileKey sessions(Root(), u"Sessions");
        for (int i = 0; i < 40; ++i) {
            YProfileKey fresh(sessions, u"New " + rivode::FromAscii(std::to_string(i)));
            ASSERT_TRUE(fresh.SetDword(u"v", static_cast<std::uint32_t>(i)));
        }
        YProfileKey server(sessions, u"SERVER");
        EXPECT_EQ(DwordOf(server, u"Port"), 22u);
        YProfileKey created(sessions, u"new 7");
        EXPECT_EQ(DwordOf(created, u"v"), 7u);
        ASSERT_TRUE(created.SetDword(u"v", 70));
    }
    // At most once per folder (the Sessions folders of both roots and the personal root),
    // however many keys were opened.
    EXPECT_LE(counting.listings, 3);
    EXPECT_EQ(ReadFileBytes(Main("Sessions/New 7.ini")), kBom + "D:\"v\"=00000046\r\n");
    EXPECT_FALSE(fs::exists(Main("Sessions/new 7.ini")));
}

// A folder that cannot be listed lists as empty, which only a trace line explains; a key that
// has no folder at all is no such event.
TEST_F(IniFileTreeTest, AnUnlistableFolderIsTracedWhenAHostAsksForTraces) {
    fs::create_directories(Main("Sessions/Work"));
    std::vector<YUnicodeString> lines;
    const auto collect = [](const YUnicodeString& line, void* context) {
        static_cast<std::vector<YUnicodeString>*>(context)->push_back(line);
    };
    rivode::test::FaultyFileSystem faulty;
    faulty.listError = EACCES;
    EXPECT_TRUE(rivode::test::ListOf(YProfileKey(Root(), u"Sessions"), false).empty());
    SetDiagnosticTraceSink(collect, &lines);
    EXPECT_TRUE(rivode::test::ListOf(YProfileKey(Root(), u"Sessions"), false).empty());
    faulty.listError = ENOENT;
    EXPECT_TRUE(rivode::test::ListOf(YProfileKey(Root(), u"Sessions"), false).empty());
    SetDiagnosticTraceSink(nullptr, nullptr);
    EXPECT_EQ(lines, (std::vector<YUnicodeString>{
                         rivode::FromUtf8("The folder '" + Main("Sessions") +
                                          "' could not be listed: Permission denied")}));
}

TEST_F(IniFileTreeTest, DeleteSubKeyRemovesFoldersFilesAndLinksInBothRoots) {
    WriteValueFile(Main("Sessions/Work/Deep/S.ini"), "");
    WriteValueFile(Main("Sessions/Work.ini"), "");
    WriteValueFile(Personal("Sessions/Work/S.ini"), "");
    WriteValueFile(Main("Sessions/Keep.ini"), "");
    WriteValueFile(temp_ / "Outside/precious.ini", "");
    fs::create_directory_symlink(temp_ / "Outside", Main("Sessions/Work/Elsewhere"));
    YProfileKey sessions(Root(), u"Sessions");
    ASSERT_TRUE(sessions.DeleteSubKey(u"WORK"));
    EXPECT_FALSE(fs::exists(Main("Sessions/Work")));
    EXPECT_FALSE(fs::exists(Main("Sessions/Work.ini")));
    EXPECT_FALSE(fs::exists(Personal("Sessions/Work")));
    EXPECT_TRUE(fs::exists(Main("Sessions/Keep.ini")));
    EXPECT_TRUE(fs::exists(temp_ / "Outside/precious.ini")) << "links are removed, not followed";
    EXPECT_TRUE(sessions.DeleteSubKey(u"NeverExisted"));
    EXPECT_FALSE(sessions.DeleteSubKey(u""));
    EXPECT_TRUE(fs::exists(Main("Sessions")));
}

TEST_F(IniFileTreeTest, DeleteSubKeyStopsAtAnItemItCannotRemove) {
    WriteValueFile(Main("K/a.ini"), "");
    rivode::test::FaultyFileSystem faulty;
    faulty.undeletablePath = Main("K/a.ini");
    EXPECT_FALSE(Root().DeleteSubKey(u"K"));
    EXPECT_EQ(Root().GetStatus().GetMessageId(), static_cast<std::uint32_t>(EACCES));
    EXPECT_TRUE(fs::exists(Main("K/a.ini")));
}

TEST_F(IniFileTreeTest, CheckSubKeyNameLeavesRoomForTheValueFileExtension) {
    EXPECT_TRUE(Root().CheckSubKeyName(std::u16string(200, u'x'), nullptr));
    EXPECT_FALSE(Root().CheckSubKeyName(std::u16string(300, u'x'), nullptr)) << "the real limit";
    rivode::test::FaultyFileSystem faulty;
    faulty.maxNameLength = 12;
    YRefPtr<YReportMessageParams> verdict;
    EXPECT_TRUE(Root().CheckSubKeyName(u"12345678", &verdict));
    ASSERT_TRUE(verdict);
    EXPECT_EQ(verdict->GetMessageId(), 0u);
    EXPECT_FALSE(Root().CheckSubKeyName(u"123456789", &verdict));
    EXPECT_EQ(verdict->GetMessageId(), static_cast<std::uint32_t>(ENAMETOOLONG));
    EXPECT_FALSE(Root().CheckSubKeyName(u"a/b", &verdict));
    EXPECT_EQ(verdict->GetMessageId(), static_cast<std::uint32_t>(EINVAL));
    faulty.maxNameLength = 0;  // unknown: nothing to hold against
    EXPECT_TRUE(Root().CheckSubKeyName(std::u16string(300, u'x'), nullptr));
}

TEST_F(IniFileTreeTest, CreateMakesMissingParentsAndReportsAFileInTheWay) {
    EXPECT_TRUE(YProfileKey(Root(), u"A\\B\\C", true).GetStatus().IsSuccess());
    EXPECT_TRUE(fs::is_directory(Main("A/B/C")));
    EXPECT_TRUE(fs::is_directory(Personal("A/B/C")));
    WriteValueFile(Main("Blocked"), "");
    EXPECT_FALSE(YProfileKey(Root(), u"Blocked\\X", true).GetStatus().IsSuccess());
}

}  // namespace
