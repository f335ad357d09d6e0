#include "storage/YTextFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

using rivode::test::TempFolder;
using rivode::test::WriteFileBytes;

struct ReadResult {
    YTextFile::Encoding encoding = YTextFile::EncodingUnknown;
    std::vector<YUnicodeString> lines;
    int error = 0;
};

class TextFileReadTest : public ::testing::Test {
protected:
    TempFolder folder_;

    ReadResult ReadBytes(const std::string& bytes, bool lockWhileTransferring = false) {
        const std::string path = folder_ / "file.ini";
        WriteFileBytes(path, bytes);
        ReadResult result;
        YTextFile file;
        file.SetLockWhileTransferring(lockWhileTransferring);
        EXPECT_TRUE(file.Open(path, YFile::AccessRead, YFile::OpenExisting));
        result.encoding = file.GetEncoding();
        YUnicodeString line;
        while (file.ReadLine(line)) {
            result.lines.push_back(line);
        }
        result.error = file.GetLastError();
        return result;
    }
};

using Lines = std::vector<YUnicodeString>;

TEST_F(TextFileReadTest, SplitsLinesAtLfCrAndCrLfInEveryEncoding) {
    // "é", "€" and a character outside the Basic Multilingual Plane, mixed terminators, empty
    // lines and a last line without terminator.
    const Lines expected = {u"D:\"é\"=1", u"", u"€", u"", u"x\U0001F600y", u"last"};
    const std::string utf8 = "D:\"\xC3\xA9\"=1\r\n\n\xE2\x82\xAC\r\r\nx\xF0\x9F\x98\x80y\nlast";
    ReadResult result = ReadBytes("\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(result.encoding, YTextFile::EncodingUtf8);
    EXPECT_EQ(result.lines, expected);
    EXPECT_EQ(result.error, 0);

    std::u16string text = u"D:\"é\"=1\r\n\n€\r\r\nx\U0001F600y\nlast";
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (const char16_t unit : text) {
        little += static_cast<char>(unit & 0xFF);
        little += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit & 0xFF);
    }
    result = ReadBytes(little);
    EXPECT_EQ(result.encoding, YTextFile::EncodingUtf16LE);
    EXPECT_EQ(result.lines, expected);
    result = ReadBytes(big);
    EXPECT_EQ(result.encoding, YTextFile::EncodingUtf16BE);
    EXPECT_EQ(result.lines, expected);
}

TEST_F(TextFileReadTest, FileWithoutMarkIsReadAsWindows1252) {
    const ReadResult result = ReadBytes("caf\xE9\r\n\x80\x81\x8D\x8F\x90\x9D\x9F");
    EXPECT_EQ(result.encoding, YTextFile::EncodingCodePage);
    EXPECT_EQ(result.lines, (Lines{u"café", u"€\u0081\u008D\u008F\u0090\u009D\u0178"}));
    EXPECT_EQ(result.error, 0);
}

TEST_F(TextFileReadTest, MarkAloneOrNothingReadsAsNoLines) {
    EXPECT_TRUE(ReadBytes("\xEF\xBB\xBF").lines.empty());
    EXPECT_TRUE(ReadBytes("\xFF\xFE").lines.empty());
    const ReadResult empty = ReadBytes("");
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_EQ(empty.encoding, YTextFile::EncodingCodePage);
    // A terminator alone is one empty line, not two.
    EXPECT_EQ(ReadBytes("\xEF\xBB\xBF\r\n").lines, (Lines{u""}));
}

TEST_F(TextFileReadTest, CrAtEndOfOneReadAndLfAtStartOfNextEndOneLine) {
    // The mark is part of the first 4096-byte read: the CR is its last byte.
    const std::string first(YTextFile::kReadBufferSize - 3 - 1, 'a');
    const ReadResult result = ReadBytes("\xEF\xBB\xBF" + first + "\r\nsecond\r\n");
    EXPECT_EQ(result.lines, (Lines{YUnicodeString(first.size(), u'a'), u"second"}));
}

TEST_F(TextFileReadTest, Utf8CharacterStraddlingReadBoundaryIsDecodedOnce) {
    // Every split of a 2-, 3- and 4-byte sequence over the 4096-byte boundary.
    const std::pair<std::string, YUnicodeString> characters[] = {
        {"\xC3\xA9", u"é"}, {"\xE2\x82\xAC", u"€"}, {"\xF0\x9F\x98\x80", u"\U0001F600"}};
    for (const auto& [bytes, text] : characters) {
        for (std::size_t before = 1; before < bytes.size(); ++before) {
            const std::size_t prefix = YTextFile::kReadBufferSize - 3 - before;
            const ReadResult result =
                ReadBytes("\xEF\xBB\xBF" + std::string(prefix, 'p') + bytes + "z\r\nnext");
            EXPECT_EQ(result.lines, (Lines{YUnicodeString(prefix, u'p') + text + u"z", u"next"}))
                << "split after byte " << before << " of " << bytes.size();
            EXPECT_EQ(result.error, 0);
        }
    }
}

TEST_F(TextFileReadTest, Utf16SurrogatePairStraddlingReadBoundaryIsDecodedOnce) {
    std::string bytes = "\xFF\xFE";
    const std::size_t units = (YTextFile::kReadBufferSize - 2) / 2 - 1;
    for (std::size_t i = 0; i < units; ++i) {
        bytes += "q";
        bytes += '\0';
    }
    bytes += std::string("\x3D\xD8\x00\xDE", 4);  // U+1F600 across the reads
    const ReadResult result = ReadBytes(bytes);
    EXPECT_EQ(result.lines, (Lines{YUnicodeString(units, u'q') + u"\U0001F600"}));
    EXPECT_EQ(result.error, 0);
}

TEST_F(TextFileReadTest, LongLinesSpanManyReads) {
    std::string bytes = "\xEF\xBB\xBF";
    Lines expected;
    for (std::size_t length : {10000u, 0u, 4096u, 1u, 9999u}) {
        std::string line;
        for (std::size_t i = 0; i < length; ++i) {
            line += static_cast<char>('a' + i % 26);
        }
        bytes += line + "\r\n";
        expected.emplace_back(line.begin(), line.end());
    }
    EXPECT_EQ(ReadBytes(bytes).lines, expected);
    EXPECT_EQ(ReadBytes(bytes, true).lines, expected);
}

TEST_F(TextFileReadTest, InvalidUtf8StopsReadingWithWhatWasRead) {
    // Overlong form, encoded surrogate, stray continuation byte, bad lead byte.
    for (const std::string bad : {"\xC0\x80", "\xED\xA0\x80", "\x80", "\xFF"}) {
        const ReadResult result = ReadBytes("\xEF\xBB\xBFgood\r\npart" + bad + "rest\r\nmore\r\n");
        EXPECT_EQ(result.lines, (Lines{u"good", u"part"}));
        EXPECT_EQ(result.error, EILSEQ);
    }
    // Invalid at the very start of a line: nothing collected, no empty line.
    const ReadResult atStart = ReadBytes("\xEF\xBB\xBFgood\r\n\xFFrest");
    EXPECT_EQ(atStart.lines, (Lines{u"good"}));
    EXPECT_EQ(atStart.error, EILSEQ);
}

TEST_F(TextFileReadTest, InvalidUtf8InALaterReadKeepsTheEarlierLines) {
    std::string bytes = "\xEF\xBB\xBF";
    Lines expected;
    while (bytes.size() < 3 * YTextFile::kReadBufferSize) {
        bytes += "S:\"name\"=value\r\n";
        expected.push_back(u"S:\"name\"=value");
    }
    const ReadResult result = ReadBytes(bytes + "\xC3\x28\r\nafter\r\n");
    EXPECT_EQ(result.lines, expected);
    EXPECT_EQ(result.error, EILSEQ);
}

TEST_F(TextFileReadTest, SequenceCutByTheEndOfFileIsAConversionFailure) {
    ReadResult result = ReadBytes("\xEF\xBB\xBFline\r\ntail\xE2\x82");
    EXPECT_EQ(result.lines, (Lines{u"line", u"tail"}));
    EXPECT_EQ(result.error, EILSEQ);
    result = ReadBytes(std::string("\xFF\xFE" "a\0b", 5));  // odd byte left over
    EXPECT_EQ(result.lines, (Lines{u"a"}));
    EXPECT_EQ(result.error, EILSEQ);
}

TEST_F(TextFileReadTest, UnpairedUtf16SurrogateStopsReading) {
    // Lone low surrogate; high surrogate followed by a non-surrogate; high surrogate at the end.
    const std::string cases[] = {
        std::string("\xFF\xFE" "a\0\r\0\n\0b\0\x00\xDC" "c\0", 14),
        std::string("\xFF\xFE" "a\0\r\0\n\0b\0\x3D\xD8" "c\0", 14),
        std::string("\xFF\xFE" "a\0\r\0\n\0b\0\x3D\xD8", 12),
    };
    for (const std::string& bytes : cases) {
        const ReadResult result = ReadBytes(bytes);
        EXPECT_EQ(result.lines, (Lines{u"a", u"b"}));
        EXPECT_EQ(result.error, EILSEQ);
    }
}

TEST_F(TextFileReadTest, OpenFailureIsReportedAndLeavesTheFileClosed) {
    YTextFile file;
    EXPECT_FALSE(file.Open(folder_ / "missing.ini", YFile::AccessRead, YFile::OpenExisting));
    EXPECT_EQ(file.GetLastError(), ENOENT);
    EXPECT_FALSE(file.IsOpen());
    YUnicodeString line;
    EXPECT_FALSE(file.ReadLine(line));
}

TEST_F(TextFileReadTest, SeekRestartsReadingAtTheNewOffset) {
    const std::string path = folder_ / "file.ini";
    WriteFileBytes(path, "\xEF\xBB\xBFone\r\ntwo\r\n");
    YTextFile file;
    ASSERT_TRUE(file.Open(path, YFile::AccessRead, YFile::OpenExisting));
    YUnicodeString line;
    ASSERT_TRUE(file.ReadLine(line));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_FALSE(file.ReadLine(line));
    ASSERT_TRUE(file.Seek(8, YFile::SeekBegin));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, u"two");
    EXPECT_FALSE(file.Seek(-1, YFile::SeekBegin));
    EXPECT_EQ(file.GetLastError(), EINVAL);
}

}  // namespace
