#include "storage/text/YTextFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<YUnicodeString>;

struct ReadResult {
    YTextFile::Encoding encoding = YTextFile::EncodingUnknown;
    Lines lines;
    int error = 0;
};

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

class TextFileReadTest : public ::testing::Test {
protected:
    rivode::test::TempFolder folder_;

    ReadResult ReadBytes(const std::string& bytes) {
        const std::string path = folder_ / "file.ini";
        rivode::test::WriteFileBytes(path, bytes);
        ReadResult result;
        YTextFile file;
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

TEST_F(TextFileReadTest, SplitsLinesAtLfCrAndCrLfInEveryEncoding) {
    const std::u16string text = u"D:\"é\"=1\r\n\n€\r\r\nx\U0001F600y\nlast";
    const Lines expected = {u"D:\"é\"=1", u"", u"€", u"", u"x\U0001F600y", u"last"};
    const std::pair<std::string, YTextFile::Encoding> files[] = {
        {"\xEF\xBB\xBF"
         "D:\"\xC3\xA9\"=1\r\n\n\xE2\x82\xAC\r\r\nx\xF0\x9F\x98\x80y\nlast",
         YTextFile::EncodingUtf8},
        {Utf16(text, false), YTextFile::EncodingUtf16LE},
        {Utf16(text, true), YTextFile::EncodingUtf16BE},
    };
    for (const auto& [bytes, encoding] : files) {
        const ReadResult result = ReadBytes(bytes);
        EXPECT_EQ(result.encoding, encoding);
        EXPECT_EQ(result.lines, expected);
        EXPECT_EQ(result.error, 0);
    }
    // No mark: Windows-1252, its undefined bytes as the C1 controls of the same number.
    const ReadResult codePage = ReadBytes("caf\xE9\r\n\x80\x81\x8D\x8F\x90\x9D\x9F");
    EXPECT_EQ(codePage.encoding, YTextFile::EncodingCodePage);
    EXPECT_EQ(codePage.lines, (Lines{u"café", u"€\u0081\u008D\u008F\u0090\u009D\u0178"}));
    // A mark alone is no line, a line end alone one empty line.
    for (const char* empty : {"", "\xEF\xBB\xBF", "\xFE\xFF"}) {
        EXPECT_TRUE(ReadBytes(empty).lines.empty());
    }
    EXPECT_EQ(ReadBytes("\xEF\xBB\xBF\r\n").lines, (Lines{u""}));
}

TEST_F(TextFileReadTest, ReadBoundaryNeitherSplitsALineEndNorACharacter) {
    // The mark is part of the first 4096-byte read: a CR as its last byte, the LF in the next.
    const std::string first(YTextFile::kReadBufferSize - 3 - 1, 'a');
    EXPECT_EQ(ReadBytes("\xEF\xBB\xBF" + first + "\r\nsecond\r\n").lines,
              (Lines{YUnicodeString(first.size(), u'a'), u"second"}));
    // Every split of a 2-, 3- and 4-byte UTF-8 sequence over the boundary.
    const std::pair<std::string, YUnicodeString> characters[] = {
        {"\xC3\xA9", u"é"}, {"\xE2\x82\xAC", u"€"}, {"\xF0\x9F\x98\x80", u"\U0001F600"}};
    for (const auto& [bytes, text] : characters) {
        for (std::size_t before = 1; before < bytes.size(); ++before) {
            const std::size_t prefix = YTextFile::kReadBufferSize - 3 - before;
            const ReadResult result =
                ReadBytes("\xEF\xBB\xBF" + std::string(prefix, 'p') + bytes + "z\r\nnext");
            EXPECT_EQ(result.lines, (Lines{YUnicodeString(prefix, u'p') + text + u"z", u"next"}))
                << "split after byte " << before << " of " << bytes.size();
        }
    }
    // A UTF-16 surrogate pair: the high surrogate ends the first read.
    const YUnicodeString units(YTextFile::kReadBufferSize / 2 - 2, u'q');
    EXPECT_EQ(ReadBytes(Utf16(units + u"\U0001F600", false)).lines, (Lines{units + u"\U0001F600"}));
}

TEST_F(TextFileReadTest, InvalidTextStopsReadingWithTheLinesBeforeIt) {
    // Overlong forms, encoded surrogate, above U+10FFFF, stray continuation, bad leads, a lead
    // before a non-continuation byte.
    for (const std::string bad : {"\xC0\x80", "\xE0\x80", "\xED\xA0\x80", "\xF4\x90", "\x80",
                                  "\xFF", "\xF5", "\xC1", "\xE2\x28"}) {
        const ReadResult result = ReadBytes("\xEF\xBB\xBFgood\r\npart" + bad + "rest\r\nmore\r\n");
        EXPECT_EQ(result.lines, (Lines{u"good", u"part"}));
        EXPECT_EQ(result.error, EILSEQ);
    }
    // A sequence the end of the file cuts short; nothing collected gives no empty line.
    EXPECT_EQ(ReadBytes("\xEF\xBB\xBFline\r\ntail\xE2\x82").lines, (Lines{u"line", u"tail"}));
    EXPECT_EQ(ReadBytes("\xEF\xBB\xBFline\r\n\xE2\x82").lines, (Lines{u"line"}));
    // UTF-16: a lone low surrogate, a high one before a non-surrogate, a high one at the end.
    for (const std::u16string bad : {u"\xDC00"
                                     "c",
                                     u"\xD83D"
                                     "c",
                                     u"\xD83D"}) {
        const ReadResult result = ReadBytes(Utf16(u"a\r\nb" + bad, false));
        EXPECT_EQ(result.lines, (Lines{u"a", u"b"}));
        EXPECT_EQ(result.error, EILSEQ);
    }
    // The lines of earlier reads are kept as well.
    std::string many = "\xEF\xBB\xBF";
    for (int i = 0; i < 800; ++i) {
        many += "S:\"name\"=value\r\n";
    }
    const ReadResult later = ReadBytes(many + "\xC3\x28\r\nafter\r\n");
    EXPECT_EQ(later.lines, Lines(800, u"S:\"name\"=value"));
    EXPECT_EQ(later.error, EILSEQ);
}

}  // namespace
