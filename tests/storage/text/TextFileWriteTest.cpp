#include "storage/text/YTextFile.h"
#include "tests/storage/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

using rivode::test::FaultyFileSystem;
using rivode::test::ReadFileBytes;
using rivode::test::TempFolder;
using rivode::test::WriteFileBytes;

class TextFileWriteTest : public ::testing::Test {
protected:
    TempFolder folder_;
    const std::string path_ = folder_ / "file.ini";

    // Writes text to a new file in the encoding (set before Open) and returns the bytes.
    std::string WriteNew(YTextFile::Encoding encoding, std::u16string_view text) {
        (void)YDeleteFile(rivode::FromUtf8(path_));
        YTextFile file;
        file.SetEncoding(encoding);
        EXPECT_TRUE(file.Open(path_, YFile::AccessWrite, YFile::OpenAlways));
        EXPECT_TRUE(file.WasCreated());
        EXPECT_TRUE(file.Write(text));
        EXPECT_TRUE(file.Flush());
        return ReadFileBytes(path_);
    }
};

TEST_F(TextFileWriteTest, NewFileGetsTheMarkOfItsEncoding) {
    const std::u16string text = u"é\U0001F600\r\n";
    EXPECT_EQ(WriteNew(YTextFile::EncodingUtf8, text), "\xEF\xBB\xBF\xC3\xA9\xF0\x9F\x98\x80\r\n");
    EXPECT_EQ(WriteNew(YTextFile::EncodingUtf16LE, text),
              std::string("\xFF\xFE\xE9\0\x3D\xD8\x00\xDE\r\0\n\0", 12));
    EXPECT_EQ(WriteNew(YTextFile::EncodingUtf16BE, text),
              std::string("\xFE\xFF\0\xE9\xD8\x3D\xDE\x00\0\r\0\n", 12));
    EXPECT_EQ(WriteNew(YTextFile::EncodingCodePage, u"é€\u0081"), "\xE9\x80\x81");
    // Still unknown at creation: UTF-16 little-endian.
    EXPECT_EQ(WriteNew(YTextFile::EncodingUnknown, u"a"), std::string("\xFF\xFE\x61\0", 4));
}

TEST_F(TextFileWriteTest, TextWithoutFormInTheEncodingIsRefusedAndNothingQueued) {
    YTextFile file;
    file.SetEncoding(YTextFile::EncodingCodePage);
    ASSERT_TRUE(file.Open(path_, YFile::AccessWrite, YFile::CreateAlways));
    EXPECT_TRUE(file.Write(u"ok "));
    EXPECT_FALSE(file.Write(u"Ā"));
    EXPECT_EQ(file.GetLastError(), EILSEQ);
    EXPECT_FALSE(file.Write(u"\u0080"));  // its byte holds the euro sign
    file.SetEncoding(YTextFile::EncodingUtf8);
    EXPECT_FALSE(file.Write(u"x\xD800y"));
    EXPECT_FALSE(file.Write(u"\xDC00"));
    EXPECT_TRUE(file.Write(u"done"));
    file.Close();
    EXPECT_EQ(ReadFileBytes(path_), "ok done");
}

TEST_F(TextFileWriteTest, WritesAreTransferredOnlyAtFlushWhichReportsTheirFailure) {
    FaultyFileSystem faulty;
    YTextFile file;
    file.SetEncoding(YTextFile::EncodingUtf8);
    ASSERT_TRUE(file.Open(path_, YFile::AccessWrite, YFile::CreateAlways));
    for (int i = 0; i < 250; ++i) {
        ASSERT_TRUE(file.Write(u"D:\"Value\"=00000001\r\n"));
    }
    EXPECT_EQ(file.GetOffset(), 0u);  // nothing written yet
    ASSERT_TRUE(file.Flush());
    EXPECT_EQ(faulty.writes, 1);
    const std::uint64_t offset = 3u + 250u * 20u;
    EXPECT_EQ(file.GetOffset(), offset);
    faulty.writeError = ENOSPC;
    ASSERT_TRUE(file.Write(u"lost"));
    EXPECT_FALSE(file.Flush());
    EXPECT_EQ(file.GetLastError(), ENOSPC);
    EXPECT_EQ(file.GetOffset(), offset);
    // Close reports the failure of its own transfer the same way.
    ASSERT_TRUE(file.Write(u"lost too"));
    file.Close();
    EXPECT_EQ(file.GetLastError(), ENOSPC);
    EXPECT_EQ(ReadFileBytes(path_).size(), offset);
}

class TextFileRewriteTest : public TextFileWriteTest {
protected:
    static constexpr char kOldContent[] = "\xEF\xBB\xBFS:\"old\"=a long previous content\r\n";

    void SetUp() override { WriteFileBytes(path_, kOldContent); }

    bool Rewrite(std::u16string_view text) {
        YTextFile file;
        EXPECT_TRUE(file.Open(path_, YFile::AccessWrite, YFile::OpenAlways));
        file.SetEncoding(YTextFile::EncodingUtf8);
        EXPECT_TRUE(file.LockRegion(0, 4, true));
        EXPECT_TRUE(file.BeginRewrite());
        EXPECT_TRUE(file.Write(text));
        return file.CommitRewrite();
    }
};

TEST_F(TextFileRewriteTest, ReplacesTheWholeContentOnlyWhenCommitted) {
    YTextFile file;
    ASSERT_TRUE(file.Open(path_, YFile::AccessWrite, YFile::OpenAlways));
    ASSERT_TRUE(file.BeginRewrite());
    ASSERT_TRUE(file.Write(u"never committed"));
    file.Close();
    EXPECT_EQ(ReadFileBytes(path_), kOldContent);
    {
        FaultyFileSystem faulty;
        faulty.reserveError = ENOSPC;
        EXPECT_FALSE(Rewrite(u"S:\"new\"=b\r\n"));
        EXPECT_EQ(ReadFileBytes(path_), kOldContent);
        EXPECT_EQ(faulty.writes, 0);
        faulty.reserveError = 0;
        faulty.writeError = EIO;
        EXPECT_FALSE(Rewrite(u"S:\"new\"=b\r\n"));
        EXPECT_EQ(ReadFileBytes(path_), kOldContent);
    }
    ASSERT_TRUE(Rewrite(u"S:\"new\"=b\r\n"));
    EXPECT_EQ(ReadFileBytes(path_), "\xEF\xBB\xBFS:\"new\"=b\r\n") << "what follows is cut";
}

}  // namespace
