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
namespace platform = rivode::platform;

// Refuses new files and folders as a read-only disk or a folder of another user would.
class ReadOnlyFileSystem final : public platform::ForwardingFileSystem {
public:
    ReadOnlyFileSystem() : ForwardingFileSystem(platform::FileSystem::Current()) {}
    int OpenFile(const std::string& path, unsigned access, platform::OpenDisposition disposition,
                 unsigned mode, std::unique_ptr<platform::File>& file, bool* created) override {
        return (access & platform::FileAccessWrite)
                   ? EROFS
                   : target_.OpenFile(path, access, disposition, mode, file, created);
    }
    int CreateFolder(const std::string&, unsigned) override { return EACCES; }
};

class ConfigFolderTest : public ::testing::Test {
protected:
    bool Check(const std::string& path) { return IsValidConfigFolder(FromUtf8(path), report_); }

    rivode::test::TempFolder folder_;
    rivode::test::FakeReport report_;
};

TEST_F(ConfigFolderTest, AcceptsWritableOrCreatableFoldersWithoutTouchingThem) {
    EXPECT_TRUE(Check(folder_.Path()));
    EXPECT_TRUE(Check(folder_.Path() + "/"));
    EXPECT_TRUE(Check(folder_ / "new/deeper/Config"));
    EXPECT_TRUE(std::filesystem::is_empty(folder_.Path()));
}

TEST_F(ConfigFolderTest, RefusalsNameTheirReason) {
    rivode::test::WriteFileBytes(folder_ / "Global.ini", "x");
    const YUnicodeString inFolder = folder_.Path16() + u"/";
    const std::pair<YUnicodeString, std::uint32_t> cases[] = {
        {u"", 0xE1380200},
        {u"   ", 0xE1380200},
        {u"Config", 0xE1380202},
        {u"C:\\Config", 0xE1380202},
        {inFolder + u"a\nb", 0xE1380206},
        {inFolder + u"\xD800x", 0xE1380206},  // unpaired surrogate
        {inFolder + u"Global.ini", 0xE1380201},
        {inFolder + YUnicodeString(300, u'n') + u"/Config", 0xE1380205},
        {inFolder + u"Global.ini/Config", 0xE1380201},
    };
    for (const auto& [path, id] : cases) {
        EXPECT_FALSE(IsValidConfigFolder(path, report_)) << rivode::ToUtf8(path);
        EXPECT_EQ(report_.GetMessageId(), id) << rivode::ToUtf8(path);
    }
    // The last refusal names the folder asked for and the file in its way.
    ASSERT_EQ(report_.GetStrings().size(), 2u);
    EXPECT_EQ(report_.GetStrings()[0], inFolder + u"Global.ini/Config");
    EXPECT_EQ(report_.GetStrings()[1], inFolder + u"Global.ini");

    // A name too long for the disk is the one named.
    EXPECT_FALSE(Check(folder_ / std::string(300, 'n') + "/Config"));
    EXPECT_EQ(report_.GetStrings().at(1), YUnicodeString(300, u'n'));

    YSetUserInterface(YCreateSilentUserInterface());
    EXPECT_FALSE(YDDV_ValidateConfigFolder(nullptr, u"relative", report_));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380202u);
    EXPECT_TRUE(YDDV_ValidateConfigFolder(nullptr, folder_.Path16(), report_));
    YSetUserInterface(nullptr);
}

TEST_F(ConfigFolderTest, RefusesFoldersThatCannotBeWrittenOrCreated) {
    ReadOnlyFileSystem readOnly;
    platform::ScopedFileSystem installed(readOnly);
    EXPECT_FALSE(Check(folder_.Path()));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380203u);
    EXPECT_FALSE(Check(folder_ / "missing"));
    EXPECT_EQ(report_.GetMessageId(), 0xE1380204u);
    ASSERT_EQ(report_.GetStrings().size(), 3u);
    EXPECT_EQ(report_.GetStrings()[1], folder_.Path16());
}

}  // namespace
