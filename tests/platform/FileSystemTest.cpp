#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/SystemError.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace rivode::platform {
namespace {

class FileSystemTest : public ::testing::Test {
protected:
    FileSystem& fs_ = FileSystem::Current();
    test::TempFolder folder_;

    std::unique_ptr<File> Open(const std::string& name, OpenDisposition disposition,
                               bool* created = nullptr) {
        std::unique_ptr<File> file;
        EXPECT_EQ(fs_.OpenFile(folder_ / name, FileAccessRead | FileAccessWrite, disposition, 0600,
                               file, created),
                  0);
        return file;
    }
};

TEST_F(FileSystemTest, OpenAlwaysTellsANewFileFromAnExistingOne) {
    bool created = false;
    auto file = Open("a", OpenDisposition::OpenAlways, &created);
    EXPECT_TRUE(created);
    ASSERT_EQ(file->WriteAt(0, "hello", 5), 0);
    file.reset();
    file = Open("a", OpenDisposition::OpenAlways, &created);
    EXPECT_FALSE(created);
    char buffer[8] = {};
    std::size_t got = 0;
    ASSERT_EQ(file->ReadAt(1, buffer, sizeof buffer, got), 0);
    EXPECT_EQ(std::string(buffer, got), "ello");
}

TEST_F(FileSystemTest, MissingThingsAreReportedAsSuch) {
    std::unique_ptr<File> file;
    EXPECT_EQ(fs_.OpenFile(folder_ / "none", FileAccessRead, OpenDisposition::OpenExisting, 0600,
                           file, nullptr),
              ENOENT);
    FileInfo info;
    EXPECT_EQ(fs_.GetFileInfo(folder_ / "none/deeper", info), 0);
    EXPECT_FALSE(info.exists);
    std::vector<FolderEntry> entries;
    EXPECT_EQ(fs_.ListFolder(folder_ / "none", entries), ENOENT);
    EXPECT_EQ(fs_.CreateFolder(folder_ / "none/deeper", 0700), ENOENT);
    EXPECT_EQ(fs_.OpenFile(folder_.Path(), FileAccessRead, OpenDisposition::OpenExisting, 0600,
                           file, nullptr),
              EISDIR);
}

TEST_F(FileSystemTest, ListsFoldersAndFilesWithTheirKind) {
    ASSERT_EQ(fs_.CreateFolder(folder_ / "Sub", 0700), 0);
    Open("SUB.INI", OpenDisposition::CreateNew);
    std::vector<FolderEntry> entries;
    ASSERT_EQ(fs_.ListFolder(folder_.Path(), entries), 0);
    ASSERT_EQ(entries.size(), 2u);
    for (const FolderEntry& entry : entries) {
        EXPECT_EQ(entry.isFolder, entry.name == "Sub") << entry.name;
    }
    std::size_t maxName = 0;
    EXPECT_EQ(fs_.GetMaxNameLength(folder_ / "not/yet/there", maxName), 0);
    EXPECT_GE(maxName, 255u);
}

// Two open files of one process exclude each other, as two processes do.
TEST_F(FileSystemTest, ExclusiveLockWaitsForSharedLockOfAnotherOpenFile) {
    auto reader = Open("locked", OpenDisposition::OpenAlways);
    auto writer = Open("locked", OpenDisposition::OpenAlways);
    ASSERT_EQ(reader->Lock(0, 4, false), 0);
    std::atomic<bool> granted{false};
    std::thread other([&] {
        EXPECT_EQ(writer->Lock(0, 4, true), 0);
        granted = true;
        EXPECT_EQ(writer->Unlock(0, 4), 0);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(granted);
    ASSERT_EQ(reader->Unlock(0, 4), 0);
    other.join();
    EXPECT_TRUE(granted);
}

TEST(SystemErrorText, KnownAndUnknownNumbers) {
    std::string text;
    ASSERT_TRUE(GetSystemErrorText(ENOENT, text));
    EXPECT_EQ(text, "No such file or directory");
    EXPECT_FALSE(GetSystemErrorText(99999, text));
    EXPECT_FALSE(GetSystemErrorText(0, text));
}

TEST(StartProcess, ReportsAProgramThatCannotRun) {
    EXPECT_EQ(StartProcess("/nonexistent/program", {}), ENOENT);
    EXPECT_EQ(StartProcess("/bin/true", {"ignored"}), 0);
}

}  // namespace
}  // namespace rivode::platform
