#include "storage/IniValueFileReader.h"
#include "storage/IniValueFileWriter.h"
#include "tests/storage/IniFileTestSupport.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

using rivode::FromAscii;
using rivode::FromUtf8;
using rivode::storage::IniValueTable;
using rivode::storage::ReadIniValueFile;

std::vector<std::uint8_t> CountingBytes(std::size_t length) {
    std::vector<std::uint8_t> bytes(length);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

// Reading from memory: what the reading rules keep and where they stop.
class ValueFileReaderTest : public ::testing::Test {
protected:
    IniValueTable table_;

    void Read(const char* text) {
        const YUnicodeString utf16 = FromUtf8(text);
        ReadIniValueFile(utf16, table_);
    }
    bool Has(const char16_t* name) const { return table_.Find(name) != nullptr; }
    std::uint32_t Dword(const char16_t* name) const {
        std::uint32_t value = 0xdeadbeef;
        EXPECT_TRUE(table_.Find(name) && table_.Find(name)->GetDword(value)) << "no dword";
        return value;
    }
    YUnicodeString String(const char16_t* name) const {
        YUnicodeString value;
        EXPECT_TRUE(table_.Find(name) && table_.Find(name)->GetString(value)) << "no string";
        return value;
    }
    std::vector<std::uint8_t> Binary(const char16_t* name) const {
        std::uint64_t size = 0;
        const YIniFileData* data = table_.Find(name);
        EXPECT_TRUE(data && data->GetBinary(nullptr, size));
        std::vector<std::uint8_t> bytes(size);
        EXPECT_TRUE(data && data->GetBinary(bytes.data(), size));
        return bytes;
    }
};

TEST_F(ValueFileReaderTest, ReadsEveryKindWithAnyLineEnd) {
    Read("D:\"n\"=0000002A\rS:\"s\"=text\nB:\"b\"=00000002\r\n 0a FF\r\nZ:\"z\"=00000002\n one\n \n");
    EXPECT_EQ(Dword(u"n"), 42u);
    EXPECT_EQ(String(u"s"), u"text");
    EXPECT_EQ(Binary(u"b"), (std::vector<std::uint8_t>{0x0a, 0xff}));
    YStringArray list;
    ASSERT_TRUE(table_.Find(u"z")->GetStringArray(list));
    EXPECT_EQ(list, (YStringArray{u"one", u""}));
}

TEST_F(ValueFileReaderTest, StringKeepsQuotesAndEqualsSigns) {
    Read("S:\"cmd\"=say \"a=b\" == \"\"\r\n");
    EXPECT_EQ(String(u"cmd"), u"say \"a=b\" == \"\"");
}

TEST_F(ValueFileReaderTest, BinaryMaySpreadOverLinesWithExtraSpaces) {
    Read("B:\"b\"=00000005\r\n  00   01\r\n\t02 03\r\n04   \r\nD:\"after\"=00000001\r\n");
    EXPECT_EQ(Binary(u"b"), CountingBytes(5));
    EXPECT_TRUE(Has(u"after"));
}

TEST_F(ValueFileReaderTest, EmptyBinaryHasNoContinuationLine) {
    Read("B:\"x\"=00000000\r\nD:\"after\"=00000001\r\n");
    EXPECT_TRUE(Binary(u"x").empty());
    EXPECT_EQ(Dword(u"after"), 1u);
}

TEST_F(ValueFileReaderTest, BlankFirstLineYieldsNothing) {
    Read("\r\nD:\"a\"=00000001\r\n");
    EXPECT_FALSE(Has(u"a"));
}

TEST_F(ValueFileReaderTest, MalformedLinesEndReadingButKeepWhatCameBefore) {
    const char* const cases[] = {
        "D:\"a\"=00000001\r\nX:\"u\"=1\r\nD:\"b\"=00000001\r\n",       // unknown letter
        "D:\"a\"=00000001\r\nD:\"u\"=0000001\r\nD:\"b\"=00000001\r\n",  // 7 digits
        "D:\"a\"=00000001\r\nD:\"u\"=0000001g\r\nD:\"b\"=00000001\r\n", // not hexadecimal
        "D:\"a\"=00000001\r\nS:\"u\" =x\r\nD:\"b\"=00000001\r\n",       // no '=' after quote
        "D:\"a\"=00000001\r\nS:\"u=x\r\nD:\"b\"=00000001\r\n",          // no closing quote
        "D:\"a\"=00000001\r\nS;\"u\"=x\r\nD:\"b\"=00000001\r\n",        // no ':'
        "D:\"a\"=00000001\r\n\r\nD:\"b\"=00000001\r\n",                  // blank line
        "D:\"a\"=00000001\r\nB:\"u\"=00000002\r\n 0a 0\r\nD:\"b\"=00000001\r\n",  // odd digit
        "D:\"a\"=00000001\r\nB:\"u\"=00000001\r\n 0a 0b\r\nD:\"b\"=00000001\r\n", // too many bytes
        "D:\"a\"=00000001\r\nB:\"u\"=00000001\r\n zz\r\nD:\"b\"=00000001\r\n",    // not hex
        "D:\"a\"=00000001\r\nZ:\"u\"=00000002\r\n one\r\nD:\"b\"=00000001\r\n",   // short list
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        IniValueTable table;
        const YUnicodeString utf16 = FromUtf8(text);
        ReadIniValueFile(utf16, table);
        EXPECT_NE(table.Find(u"a"), nullptr);
        EXPECT_EQ(table.Find(u"u"), nullptr);
        EXPECT_EQ(table.Find(u"b"), nullptr);
    }
}

TEST_F(ValueFileReaderTest, TruncatedValuesAtTheEndAreDropped) {
    Read("D:\"a\"=00000001\r\nZ:\"z\"=00000003\r\n one\r\n two");
    EXPECT_TRUE(Has(u"a"));
    EXPECT_FALSE(Has(u"z"));
    IniValueTable binary;
    const YUnicodeString text = u"B:\"b\"=00000004\r\n 00 01";
    ReadIniValueFile(text, binary);
    EXPECT_EQ(binary.Find(u"b"), nullptr);
}

TEST_F(ValueFileReaderTest, LaterDuplicateWinsAndCaseMakesANewName) {
    Read("D:\"n\"=00000001\r\nS:\"n\"=two\r\nD:\"N\"=00000003\r\n");
    EXPECT_EQ(String(u"n"), u"two");
    EXPECT_EQ(Dword(u"N"), 3u);
}

TEST_F(ValueFileReaderTest, EmptyNamesAreReadAndDropped) {
    Read("Z:\"\"=00000001\r\n list\r\nS:\"\"=x\r\nD:\"a\"=00000001\r\n");
    EXPECT_FALSE(Has(u""));
    EXPECT_EQ(Dword(u"a"), 1u);
}

TEST_F(ValueFileReaderTest, HugeDeclaredLengthsDoNotAllocateAhead) {
    Read("D:\"a\"=00000001\r\nB:\"b\"=ffffffff\r\n 00\r\nZ:\"z\"=ffffffff\r\n x\r\n");
    EXPECT_TRUE(Has(u"a"));
    EXPECT_FALSE(Has(u"b"));
}

// Writing: the exact lines of each kind.
TEST(ValueFileWriterTest, FormatsEachKind) {
    YUnicodeString out;
    rivode::storage::AppendDwordLines(out, u"n", 0xABCDEF01u);
    rivode::storage::AppendStringLines(out, u"s", u"a \"b\"=c");
    rivode::storage::AppendStringArrayLines(out, u"z", {u"one", u""});
    rivode::storage::AppendBinaryLines(out, u"e", nullptr, 0);
    EXPECT_EQ(out,
              u"D:\"n\"=abcdef01\r\nS:\"s\"=a \"b\"=c\r\nZ:\"z\"=00000002\r\n one\r\n \r\n"
              u"B:\"e\"=00000000\r\n");
}

TEST(ValueFileWriterTest, BinaryOf33BytesTakesTwoLines) {
    const std::vector<std::uint8_t> bytes = CountingBytes(33);
    YUnicodeString out;
    rivode::storage::AppendBinaryLines(out, u"b", bytes.data(), bytes.size());
    EXPECT_EQ(out,
              u"B:\"b\"=00000021\r\n"
              u" 00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f"
              u" 10 11 12 13 14 15 16 17 18 19 1a 1b 1c 1d 1e 1f\r\n"
              u" 20\r\n");
}

// Whole files through a key: the bytes on disk.
class IniFileFormatTest : public rivode::test::IniStoreTest {};

TEST_F(IniFileFormatTest, WorkedExampleIsWrittenByteForByte) {
    {
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"Sessions\\Server 1", true);
        const std::vector<std::uint8_t> colors = CountingBytes(40);
        // Lists go last and personal values first, whatever the order of setting.
        ASSERT_TRUE(key.SetStringArray(u"Keyword List", {u"first entry", u"second entry"}));
        ASSERT_TRUE(key.SetString(u"Protocol Name", u"SSH2"));
        ASSERT_TRUE(key.SetBinary(u"Custom Colors", colors.data(), 40));
        ASSERT_TRUE(key.SetDword(u"Use Login Script", 1));
    }
    EXPECT_EQ(rivode::test::ReadFileBytes(Main("Sessions/Server 1.ini")),
              rivode::test::kBom +
                  "D:\"Use Login Script\"=00000001\r\n"
                  "S:\"Protocol Name\"=SSH2\r\n"
                  "B:\"Custom Colors\"=00000028\r\n"
                  " 00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 11 12 13 14 15 16 17 18 19 "
                  "1a 1b 1c 1d 1e 1f\r\n"
                  " 20 21 22 23 24 25 26 27\r\n"
                  "Z:\"Keyword List\"=00000002\r\n"
                  " first entry\r\n"
                  " second entry\r\n");
}

TEST_F(IniFileFormatTest, EveryKindSurvivesARoundTrip) {
    const std::vector<std::uint8_t> bytes = CountingBytes(33);
    {
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"K", true);
        ASSERT_TRUE(key.SetBinary(u"b33", bytes.data(), 33));
        ASSERT_TRUE(key.SetBinary(u"b0", nullptr, 0));
        ASSERT_TRUE(key.SetStringArray(u"z0", {}));
        ASSERT_TRUE(key.SetStringArray(u"z", {u"", u" lead", u"\u00e9t\u00e9 \U0001F600"}));
        ASSERT_TRUE(key.SetString(u"s", u"x=\"y\""));
        ASSERT_TRUE(key.SetString(u"empty", u""));
    }
    auto store = OpenStore();
    YProfileKey key(store->GetRootKey(), u"K");
    std::uint32_t size = 64;
    std::vector<std::uint8_t> read(64);
    ASSERT_TRUE(key.GetBinary(u"b33", read.data(), size));
    read.resize(size);
    EXPECT_EQ(read, bytes);
    size = 5;
    ASSERT_TRUE(key.GetBinary(u"b0", nullptr, size));
    EXPECT_EQ(size, 0u);
    YStringArray list{u"stale"};
    ASSERT_TRUE(key.GetStringArray(u"z0", list));
    EXPECT_TRUE(list.empty());
    ASSERT_TRUE(key.GetStringArray(u"z", list));
    EXPECT_EQ(list, (YStringArray{u"", u" lead", u"\u00e9t\u00e9 \U0001F600"}));
    YUnicodeString text;
    ASSERT_TRUE(key.GetString(u"s", text));
    EXPECT_EQ(text, u"x=\"y\"");
    ASSERT_TRUE(key.GetString(u"empty", text));
    EXPECT_EQ(text, u"");
}

TEST_F(IniFileFormatTest, FilesWithoutMarkAreReadInTheLegacyCodePage) {
    rivode::test::WriteFileBytes(MainRoot() + ".ini", "S:\"Caf\xe9\"=na\xefve\r\n");
    auto store = OpenStore();
    YUnicodeString text;
    ASSERT_TRUE(store->GetRootKey().GetString(u"Caf\u00e9", text));
    EXPECT_EQ(text, u"na\u00efve");
}

TEST_F(IniFileFormatTest, Utf16FilesAreRead) {
    const std::u16string text = u"\uFEFFD:\"n\"=00000007\r\n";
    rivode::test::WriteFileBytes(MainRoot() + ".ini",
                                 std::string(reinterpret_cast<const char*>(text.data()),
                                             text.size() * 2));
    auto store = OpenStore();
    std::uint32_t value = 0;
    ASSERT_TRUE(store->GetRootKey().GetDword(u"n", value));
    EXPECT_EQ(value, 7u);
}

}  // namespace
