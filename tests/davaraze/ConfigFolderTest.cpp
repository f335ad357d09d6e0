#include "tests/davaraze/FakeReport.h"
#include "tests/support/TempFolder.h"

#include <DavaraZE/YConfigFolder.h>
#include <DavaraZE/YUserInterface.h>

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace {

using rivode::FromUtf8;
using rivode::platform::FileSystem;
using rivode::test::FakeReport;
using rivode::test::TempFolder;

// Refuses new files and folders as a read-only disk or a folder of another user would.
class ReadOnlyFileSystem final : public rivode::platform::ForwardingFileSystem {
public:
    ReadOnlyFileSystem() : ForwardingFileSystem(FileSystem::Current()) {}
    int OpenFile(const std::string& path, unsigned access,
                 rivode::platform::OpenDisposition disposition, unsigned mode,
                 std::unique_ptr<rivode::platform::File>& file, bool* created) override {
        if (access & rivode::platform::FileAccessWrite) {
            return EROFS;
        }
        return target_.OpenFile(path, access, disposition, mode, file, created);
    }
    int CreateFolder(const std::string&, unsigned) override { return EACCES; }
};

class ConfigFolderTest : public ::testing::Test {
protected:
    bool Check(const std::string& path) { return IsValidConfigFolder(FromUtf8(path), report_); }
    bool CheckText(const YUnicodeString& path) { return IsValidConfigFolder(path, report_); }

    std::size_t EntriesIn(const std::string& path) {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path),
                                                      std::filesystem::directory_iterator()));
    }

    TempFolder folder_;
    FakeReport report_;
};

TEST_F(ConfigFolderTest, AcceptsAnExistingWritableFolderAndLeavesItUnchanged) {
    EXPECT_TRUE(Check(folder_.Path()));
    EXPECT_TRUE(Check(folder_.Path() + "/"));
    EXPECT_EQ(EntriesIn(folder_.Path()), 0u);
}

TEST_F(ConfigFolderTest, AcceptsAMissingFolderThatCanBeCreatedWithoutCreatingIt) {
    EXPECT_TRUE(Check(folder_ / "new/deeper/Config"));
    EXPECT_EQ(EntriesIn(folder_.Path()), 0u);
}

TEST_F(ConfigFolderTest, RefusesEmptyRelativeAndControlCharacters) {
    EXPECT_FALSE(CheckText(u""));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380200u);
    EXPECT_FALSE(CheckText(u"   "));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380200u);
    EXPECT_FALSE(CheckText(u"Config"));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380202u);
    EXPECT_FALSE(CheckText(u"C:\\Config"));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380202u);
    EXPECT_FALSE(CheckText(FromUtf8(folder_.Path()) + u"/a\nb"));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380206u);
    EXPECT_FALSE(CheckText(FromUtf8(folder_.Path()) + u"/\xD800x"));  // unpaired surrogate
    EXPECT_EQ(report_.GetMessageId(), 0xE1380206u);
}

TEST_F(ConfigFolderTest, RefusesAFileOrAPathThroughAFile) {
    rivode::test::WriteFileBytes(folder_ / "Global.ini", "x");
    EXPECT_FALSE(Check(folder_ / "Global.ini"));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380201u);
    EXPECT_FALSE(Check(folder_ / "Global.ini/Config"));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380201u);
    ASSERT_EQ(report_.GetStrings().size(), 2u);
    EXPECT_EQ(report_.GetStrings()[0], FromUtf8(folder_ / "Global.ini/Config"));
    EXPECT_EQ(report_.GetStrings()[1], FromUtf8(folder_ / "Global.ini"));
}

TEST_F(ConfigFolderTest, RefusesANameTooLongForTheDisk) {
    const std::string tooLong(300, 'n');
    EXPECT_FALSE(Check(folder_ / tooLong + "/Config"));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380205u);
    ASSERT_EQ(report_.GetStrings().size(), 2u);
    EXPECT_EQ(report_.GetStrings()[1], rivode::FromUtf8(tooLong));
}

TEST_F(ConfigFolderTest, RefusesFoldersThatCannotBeWrittenOrCreated) {
    ReadOnlyFileSystem readOnly;
    rivode::platform::ScopedFileSystem installed(readOnly);
    EXPECT_FALSE(Check(folder_.Path()));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380203u);
    EXPECT_FALSE(Check(folder_ / "missing"));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380204u);
    ASSERT_EQ(report_.GetStrings().size(), 3u);
    EXPECT_EQ(report_.GetStrings()[1], FromUtf8(folder_.Path()));
}

TEST_F(ConfigFolderTest, DialogFormShowsTheRefusal) {
    YSetUserInterface(YCreateSilentUserInterface());
    EXPECT_FALSE(YDDV_ValidateConfigFolder(nullptr, u"relative", report_));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380202u);
    EXPECT_TRUE(YDDV_ValidateConfigFolder(nullptr, FromUtf8(folder_.Path()), report_));
    YSetUserInterface(nullptr);
}

TEST(DialogModeTest, OnlyTheLockedSessionModeIsReadOnly) {
    EXPECT_TRUE(YIsReadOnly(kYDialogModeReadOnly));
    EXPECT_FALSE(YIsReadOnly(0));
    EXPECT_FALSE(YIsReadOnly(kYDialogModeDefaultSession));
    EXPECT_FALSE(YIsReadOnly(kYDialogModeMultipleSessions));
}

}  // namespace
