#include "storage/text/YTextFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

class TextFileLockTest : public ::testing::Test {
protected:
    rivode::test::TempFolder folder_;
    YTextFile first_, second_;

    void SetUp() override {
        const std::string path = folder_ / "file.ini";
        // No mark: both objects see the same code-page text whoever opens first.
        first_.SetEncoding(YTextFile::EncodingCodePage);
        ASSERT_TRUE(first_.Open(path, YFile::AccessRead | YFile::AccessWrite, YFile::OpenAlways));
        ASSERT_TRUE(second_.Open(path, YFile::AccessRead | YFile::AccessWrite, YFile::OpenAlways));
    }
};

TEST_F(TextFileLockTest, LockedTransfersWaitForAWriterHoldingTheRegion) {
    ASSERT_TRUE(first_.LockRegion(0, 4, true));
    std::atomic<bool> read = false;
    std::thread reader([this, &read] {
        second_.SetLockWhileTransferring(true);
        ASSERT_TRUE(second_.Seek(0, YFile::SeekBegin));
        YUnicodeString line;
        EXPECT_TRUE(second_.ReadLine(line));
        EXPECT_EQ(line, u"written under the lock");
        read = true;
    });
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(read);
    ASSERT_TRUE(first_.Write(u"written under the lock\r\n"));
    ASSERT_TRUE(first_.Flush());
    ASSERT_TRUE(first_.UnlockRegion(0, 4));
    reader.join();
    EXPECT_TRUE(read);
}

}  // namespace
