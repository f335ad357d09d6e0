#include "platform/FileSystem.h"
#include "tests/storage/IniFileTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>

namespace {

using rivode::test::kBom;
using rivode::test::ReadFileBytes;
namespace fs = std::filesystem;

std::map<YUnicodeString, int> ListSubKeys(const YProfileKey& key) {
    std::map<YUnicodeString, int> listed;
    YProfileKeyIterator iterator(key, false);
    YUnicodeString name;
    int kind = 0;
    while (iterator.Next(name, kind)) {
        EXPECT_TRUE(listed.emplace(name, kind).second) << "listed twice";
    }
    return listed;
}

// The key tree on disk: listings, names found without regard to case, removal and limits.
class IniFileTreeTest : public rivode::test::IniStoreTest {
protected:
    void SetUp() override { store_ = OpenStore(true); }
    YProfileKey& Root() { return store_->GetRootKey(); }
    std::unique_ptr<YProfileStore> store_;
};

TEST_F(IniFileTreeTest, ListingMergesFoldersAndFilesWithoutRegardToCase) {
    fs::create_directories(Main("Sessions/Sub"));
    fs::create_directories(Main("Sessions/OnlyFolder"));
    WriteValueFile(Main("Sessions/SUB.INI"), "");
    WriteValueFile(Main("Sessions/file.Ini"), "");
    WriteValueFile(Main("Sessions/.ini"), "");
    WriteValueFile(Main("Sessions/notes.txt"), "");
    fs::create_directories(Personal("Sessions/PersonalOnly"));
    YProfileKey sessions(Root(), u"Sessions");
    const auto listed = ListSubKeys(sessions);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed.at(u"file"), ValueKindSubKeyFile);
    EXPECT_EQ(listed.at(u"OnlyFolder"), ValueKindSubKeyFolder);
    const int subKind = listed.count(u"Sub") ? listed.at(u"Sub") : listed.at(u"SUB");
    EXPECT_EQ(subKind, ValueKindSubKeyFolderFile);
}

TEST_F(IniFileTreeTest, ListingIsSortedWithoutRegardToCase) {
    for (const char* name : {"b.ini", "A.ini", "c.ini"}) {
        WriteValueFile(Main(name), "");
    }
    YProfileKeyIterator iterator(Root(), false);
    YUnicodeString first, second, third;
    ASSERT_TRUE(iterator.Next(first) && iterator.Next(second) && iterator.Next(third));
    EXPECT_EQ(first + second + third, u"Abc");
}

TEST_F(IniFileTreeTest, ExistingComponentsAreFoundWithoutRegardToCase) {
    WriteValueFile(Main("Sessions/Work/Server.ini"), "D:\"Port\"=00000016\r\n");
    {
        YProfileKey key(Root(), u"SESSIONS\\work\\server");
        std::uint32_t port = 0;
        ASSERT_TRUE(key.GetDword(u"Port", port));
        EXPECT_EQ(port, 22u);
        ASSERT_TRUE(key.SetDword(u"Port", 23));
        YProfileKey fresh(Root(), u"sessions\\NewOne", true);
        ASSERT_TRUE(fresh.SetDword(u"v", 1));
    }
    EXPECT_EQ(ReadFileBytes(Main("Sessions/Work/Server.ini")), kBom + "D:\"Port\"=00000017\r\n");
    EXPECT_TRUE(fs::exists(Main("Sessions/NewOne.ini"))) << "new components keep their spelling";
    EXPECT_FALSE(fs::exists(Main("sessions")));
    EXPECT_TRUE(Root().SubKeyExists(u"sessions\\WORK\\SERVER"));
}

TEST_F(IniFileTreeTest, ValueFileIsFoundBesideAFolderOfOtherCase) {
    fs::create_directories(Main("server"));
    WriteValueFile(Main("SERVER.ini"), "D:\"Port\"=00000016\r\n");
    YProfileKey key(Root(), u"Server");
    std::uint32_t port = 0;
    ASSERT_TRUE(key.GetDword(u"Port", port));
}

TEST_F(IniFileTreeTest, PathsAreJoinedWithOneSeparator) {
    WriteValueFile(Main("A/B.ini"), "D:\"v\"=00000001\r\n");
    YProfileKey key(Root(), u"\\A\\\\B\\");
    std::uint32_t value = 0;
    EXPECT_TRUE(key.GetDword(u"v", value));
    YProfileKey a(Root(), u"A");
    YProfileKey b(a, u"B");
    EXPECT_TRUE(b.GetDword(u"v", value));
}

TEST_F(IniFileTreeTest, SubKeyExistsChecksOnlyTheMainRoot) {
    fs::create_directories(Main("Folder"));
    WriteValueFile(Main("File.ini"), "");
    fs::create_directories(Personal("PersonalOnly"));
    EXPECT_TRUE(Root().SubKeyExists(u"Folder"));
    EXPECT_TRUE(Root().SubKeyExists(u"file"));
    EXPECT_FALSE(Root().SubKeyExists(u"PersonalOnly"));
    EXPECT_FALSE(Root().SubKeyExists(u"Missing"));
    EXPECT_FALSE(Root().SubKeyExists(u".."));
}

TEST_F(IniFileTreeTest, DeleteSubKeyRemovesFoldersAndFilesInBothRoots) {
    WriteValueFile(Main("Sessions/Work/Deep/S.ini"), "");
    WriteValueFile(Main("Sessions/Work.ini"), "");
    WriteValueFile(Personal("Sessions/Work/S.ini"), "");
    WriteValueFile(Main("Sessions/Keep.ini"), "");
    YProfileKey sessions(Root(), u"Sessions");
    ASSERT_TRUE(sessions.DeleteSubKey(u"WORK"));
    EXPECT_FALSE(fs::exists(Main("Sessions/Work")));
    EXPECT_FALSE(fs::exists(Main("Sessions/Work.ini")));
    EXPECT_FALSE(fs::exists(Personal("Sessions/Work")));
    EXPECT_TRUE(fs::exists(Main("Sessions/Keep.ini")));
    EXPECT_TRUE(sessions.DeleteSubKey(u"NeverExisted"));
    EXPECT_FALSE(sessions.DeleteSubKey(u""));
    EXPECT_TRUE(fs::exists(Main("Sessions")));
}

TEST_F(IniFileTreeTest, DeleteSubKeyRemovesLinksWithoutFollowingThem) {
    WriteValueFile(temp_ / "Outside/precious.ini", "");
    fs::create_directories(Main("Sessions/Linked"));
    fs::create_directory_symlink(temp_ / "Outside", Main("Sessions/Linked/Elsewhere"));
    ASSERT_TRUE(Root().DeleteSubKey(u"Sessions"));
    EXPECT_FALSE(fs::exists(Main("Sessions")));
    EXPECT_TRUE(fs::exists(temp_ / "Outside/precious.ini"));
}

// Reports a short name limit, and refuses the removal of one file.
class LimitedFileSystem : public rivode::platform::ForwardingFileSystem {
public:
    LimitedFileSystem() : ForwardingFileSystem(rivode::platform::FileSystem::Current()) {}
    std::size_t maxNameLength = 0;
    std::string undeletable;
    int GetMaxNameLength(const std::string& path, std::size_t& length) override {
        length = maxNameLength;
        return 0;
    }
    int DeleteFile(const std::string& path) override {
        return path == undeletable ? EACCES : target_.DeleteFile(path);
    }
};

TEST_F(IniFileTreeTest, CheckSubKeyNameLeavesRoomForTheValueFileExtension) {
    LimitedFileSystem limited;
    limited.maxNameLength = 12;
    rivode::platform::ScopedFileSystem installed(limited);
    YRefPtr<YReportMessageParams> verdict;
    EXPECT_TRUE(Root().CheckSubKeyName(u"12345678", &verdict));
    ASSERT_TRUE(verdict);
    EXPECT_EQ(verdict->GetMessageId(), 0u);
    EXPECT_FALSE(Root().CheckSubKeyName(u"123456789", &verdict));
    EXPECT_EQ(verdict->GetMessageId(), static_cast<std::uint32_t>(ENAMETOOLONG));
    EXPECT_FALSE(Root().CheckSubKeyName(u"a/b", &verdict));
    EXPECT_EQ(verdict->GetMessageId(), static_cast<std::uint32_t>(EINVAL));
    limited.maxNameLength = 0;  // unknown: nothing to hold against
    EXPECT_TRUE(Root().CheckSubKeyName(std::u16string(300, u'x'), nullptr));
}

TEST_F(IniFileTreeTest, CheckSubKeyNameUsesTheRealLimit) {
    EXPECT_TRUE(Root().CheckSubKeyName(std::u16string(200, u'x'), nullptr));
    EXPECT_FALSE(Root().CheckSubKeyName(std::u16string(300, u'x'), nullptr));
}

TEST_F(IniFileTreeTest, DeleteSubKeyStopsAtAnItemItCannotRemove) {
    WriteValueFile(Main("K/a.ini"), "");
    LimitedFileSystem limited;
    limited.undeletable = Main("K/a.ini");
    rivode::platform::ScopedFileSystem installed(limited);
    EXPECT_FALSE(Root().DeleteSubKey(u"K"));
    EXPECT_EQ(Root().GetStatus().GetMessageId(), static_cast<std::uint32_t>(EACCES));
    EXPECT_TRUE(fs::exists(Main("K/a.ini")));
}

TEST_F(IniFileTreeTest, CreateMakesMissingParentsAndReportsAFileInTheWay) {
    {
        YProfileKey key(Root(), u"A\\B\\C", true);
        EXPECT_TRUE(key.GetStatus().IsSuccess());
    }
    EXPECT_TRUE(fs::is_directory(Main("A/B/C")));
    EXPECT_TRUE(fs::is_directory(Personal("A/B/C")));
    WriteValueFile(Main("Blocked"), "");
    YProfileKey blocked(Root(), u"Blocked\\X", true);
    EXPECT_FALSE(blocked.GetStatus().IsSuccess());
}

}  // namespace
