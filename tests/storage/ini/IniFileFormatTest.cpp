#include "storage/ini/IniValueFileReader.h"
#include "tests/storage/IniFileTestSupport.h"

#include <RivodeRavudaVU/YProfileData.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <numeric>
#include <thread>
#include <vector>

namespace {

using rivode::storage::IniValueTable;
using rivode::storage::ReadIniValueFile;
using rivode::test::kBom;
using rivode::test::ReadFileBytes;

// Reading from memory: what each kind yields, and where the reading rules stop.
TEST(ValueFileReaderTest, ReadsEveryKindWithAnyLineEndAndKeepsTheLastDuplicate) {
    const std::string text(
        "D:\"s\"=00000001\rD:\"n\"=0000002A\rS:\"s\"=say \"a=b\" == \"\"\n"
        "B:\"b\"=00000005\r\n  00   01\r\n\t02 0a\rFF   \nB:\"e\"=00000000\r\n"
        "Z:\"z\"=00000002\n one\n \nD:\"N\"=00000003\r\nD:\"m\"=9aBcDeF0\r\n"
        "Z:\"y\"=00000003\r\n 1\r 2\n 3\r\n");
    IniValueTable table;
    ReadIniValueFile(text, table);
    std::uint32_t number = 0;
    ASSERT_TRUE(table.Find(u"m") && table.Find(u"m")->GetDword(number));
    EXPECT_EQ(number, 0x9ABCDEF0u);
    ASSERT_TRUE(table.Find(u"n") && table.Find(u"n")->GetDword(number));
    EXPECT_EQ(number, 42u);
    ASSERT_TRUE(table.Find(u"N") && table.Find(u"N")->GetDword(number)) << "case makes a new name";
    EXPECT_EQ(number, 3u);
    YUnicodeString string;
    ASSERT_TRUE(table.Find(u"s") && table.Find(u"s")->GetString(string));
    EXPECT_EQ(string, u"say \"a=b\" == \"\"");
    std::vector<std::uint8_t> bytes(8);
    std::uint64_t size = bytes.size();
    ASSERT_TRUE(table.Find(u"b") && table.Find(u"b")->GetBinary(bytes.data(), size));
    bytes.resize(size);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x0a, 0xff}));
    ASSERT_TRUE(table.Find(u"e") && table.Find(u"e")->GetBinary(nullptr, size));
    EXPECT_EQ(size, 0u) << "an empty binary has no continuation line";
    YStringArray list;
    ASSERT_TRUE(table.Find(u"z") && table.Find(u"z")->GetStringArray(list));
    EXPECT_EQ(list, (YStringArray{u"one", u""}));
    ASSERT_TRUE(table.Find(u"y") && table.Find(u"y")->GetStringArray(list));
    EXPECT_EQ(list, (YStringArray{u"1", u"2", u"3"}));
}

TEST(ValueFileReaderTest, ReadingStopsAtTheFirstFaultKeepingWhatCameBefore) {
    struct Case {
        std::string text;
        std::vector<std::u16string_view> kept, dropped;
    };
    const std::string a = "D:\"a\"=00000001\r\n", b = "D:\"b\"=00000001\r\n";
    const Case cases[] = {
        {a + "X:\"u\"=1\r\n" + b, {u"a"}, {u"u", u"b"}},         // unknown letter
        {a + "D:\"u\"=0000001\r\n" + b, {u"a"}, {u"u", u"b"}},   // 7 digits
        {a + "D:\"u\"=0000001g\r\n" + b, {u"a"}, {u"u", u"b"}},  // not hexadecimal
        // The characters next to the digits' and letters' ranges.
        {a + "D:\"u\"=/0000000\r\n" + b, {u"a"}, {u"u", u"b"}},
        {a + "D:\"u\"=000:0000\r\n" + b, {u"a"}, {u"u", u"b"}},
        {a + "D:\"u\"=0000@000\r\n" + b, {u"a"}, {u"u", u"b"}},
        {a + "D:\"u\"=00000G00\r\n" + b, {u"a"}, {u"u", u"b"}},
        {a + "D:\"u\"=000000`0\r\n" + b, {u"a"}, {u"u", u"b"}},
        {a + "D:\"u\"=0000000\x10\r\n" + b, {u"a"}, {u"u", u"b"}},
        {a + "S:\"u\" =x\r\n" + b, {u"a"}, {u"u", u"b"}},                  // no '=' after the quote
        {a + "S:\"u=x\r\n" + b, {u"a"}, {u"u", u"b"}},                     // no closing quote
        {a + "S;\"u\"=x\r\n" + b, {u"a"}, {u"u", u"b"}},                   // no ':'
        {a + "\r\n" + b, {u"a"}, {u"b"}},                                  // blank line
        {"\r\n" + a, {}, {u"a"}},                                          // blank first line
        {a + "B:\"u\"=00000002\r\n 0a 0\r\n" + b, {u"a"}, {u"u", u"b"}},   // odd digit
        {a + "B:\"u\"=00000001\r\n 0a 0b\r\n" + b, {u"a"}, {u"u", u"b"}},  // too many bytes
        {a + "B:\"u\"=00000001\r\n zz\r\n" + b, {u"a"}, {u"u", u"b"}},     // not hexadecimal
        {a + "Z:\"u\"=00000002\r\n one\r\n" + b, {u"a"}, {u"u", u"b"}},    // list too short
        {a + "Z:\"u\"=00000003\r\n one\r\n two", {u"a"}, {u"u"}},          // list cut by the end
        {a + "B:\"u\"=00000004\r\n 00 01", {u"a"}, {u"u"}},                // binary cut by the end
        {"Z:\"\"=00000001\r\n list\r\nS:\"\"=x\r\n" + a, {u"a"}, {u""}},   // empty names dropped
        // Declared lengths are not allocated ahead of the data.
        {a + "B:\"u\"=ffffffff\r\n 00\r\nZ:\"z\"=ffffffff\r\n x\r\n", {u"a"}, {u"u", u"z"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        IniValueTable table;
        ReadIniValueFile(c.text, table);
        for (const auto name : c.kept) {
            EXPECT_NE(table.Find(name), nullptr) << rivode::ToUtf8(name);
        }
        for (const auto name : c.dropped) {
            EXPECT_EQ(table.Find(name), nullptr) << rivode::ToUtf8(name);
        }
    }
}

// Long binary values are read many bytes at a time while they keep the writer's layout; any
// other layout and any fault anywhere in such a run reads as it does a byte at a time.
TEST(ValueFileReaderTest, LongBinaryValuesReadTheSameInAnyLayoutAndStopAtAnyFault) {
    std::vector<std::uint8_t> expected(40);
    std::string digits;  // the writer's layout: a blank, then two digits, for each byte
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i] = static_cast<std::uint8_t>(i * 37 + 5);
        char pair[4];
        std::snprintf(pair, sizeof pair, " %02x", expected[i]);
        digits += pair;
    }
    const auto read = [](const std::string& continuation) {
        IniValueTable table;
        const bool whole =
            // Text enough after the value that its last bytes, too, are read many at a time.
            ReadIniValueFile(
                "B:\"b\"=00000028\r\n" + continuation + "\r\nS:\"s\"=" + std::string(64, 'x'),
                table);
        std::vector<std::uint8_t> bytes(64);
        std::uint64_t size = bytes.size();
        const YIniFileData* value = table.Find(u"b");
        if (!whole || value == nullptr || !value->GetBinary(bytes.data(), size)) {
            return std::vector<std::uint8_t>();
        }
        bytes.resize(size);
        return bytes;
    };
    std::string upper = digits;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    std::string tab = digits, doubled = digits, split = digits;
    tab[21] = '\t';
    doubled.insert(30, " ");
    split.insert(48, "\r\n");
    for (const std::string& layout : {digits, upper, tab, doubled, split}) {
        EXPECT_EQ(read(layout), expected) << layout;
    }
    // A character next to the digits' and letters' ranges, or above ASCII, in any place ends
    // the reading there; so does a digit in a blank's place.
    for (std::size_t at = 0; at < digits.size(); ++at) {
        for (const std::string_view fault :
             {"g", "/", ":", "@", "G", "`", "\x7f", "\xc3\xa9", at % 3 == 0 ? "a" : "g"}) {
            std::string broken = digits;
            broken.replace(at, fault.size(), fault);
            EXPECT_TRUE(read(broken).empty()) << broken;
        }
    }
}

TEST(ValueFileReaderTest, DecodesUtf8TextsAndStopsAtTheFirstByteThatIsNoCharacter) {
    struct Case {
        std::string text;
        bool readToEnd;
        std::u16string_view name, value;  // a string value the reading must hold
        std::u16string_view dropped;
    };
    const Case cases[] = {
        {"S:\"Gr\xc3\xbc\xc3\x9f\x65\"=\xe2\x82\xac \xf0\x9f\x98\x80\r\n", true, u"Grüße",
         u"€ \U0001F600", u""},
        // The line is cut where the bad byte starts, as a file read up to it would be.
        {"S:\"a\"=x\r\nS:\"cut\"=ab\xff"
         "cd\r\nS:\"after\"=y\r\n",
         false, u"cut", u"ab", u"after"},
        {"S:\"a\"=x\r\nS:\"over\"=\xc0\xafz\r\n", false, u"over", u"", u""},  // overlong
        {"S:\"a\"=x\r\nS:\"s\"=\xed\xa0\x80\r\n", false, u"s", u"", u""},     // surrogate
        {"S:\"a\"=x\r\nS:\"end\"=z\xe2\x82", false, u"end", u"z", u""},       // cut character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        IniValueTable table;
        EXPECT_EQ(ReadIniValueFile(c.text, table), c.readToEnd);
        YUnicodeString value;
        ASSERT_TRUE(table.Find(c.name) && table.Find(c.name)->GetString(value));
        EXPECT_EQ(value, c.value);
        if (!c.dropped.empty()) {
            EXPECT_EQ(table.Find(c.dropped), nullptr);
        }
    }
}

// A table as its slots list it, with each value's lines and whether a look-up finds it (asked
// last slot first, so that the look-ups go through the index). A name without a value still
// holds its slot, where a value set later would go.
std::u16string Describe(const IniValueTable& table) {
    std::u16string text;
    for (std::size_t slot = table.GetSlotCount(); slot-- > 0;) {
        const std::u16string_view name = table.GetSlotName(slot);
        if (const YIniFileData* value = table.GetSlotValue(slot)) {
            std::u16string lines;
            value->WriteLines(name, lines);
            text.insert(0, lines + (table.Find(name) == value ? u"found\n" : u"LOST\n"));
        } else {
            text.insert(0, std::u16string(name) + u" without a value\n");
        }
    }
    return text;
}

// Each file read on a thread of its own, where no earlier reading is remembered.
std::u16string DescribeReadAlone(const std::string& text) {
    std::u16string described;
    std::thread([&] {
        IniValueTable table(text.size());
        ReadIniValueFile(text, table);
        described = Describe(table);
    }).join();
    return described;
}

TEST(ValueFileReaderTest, ReadingAfterOtherFilesOfTheSameShapeGivesWhatReadingAloneGives) {
    const auto lines = [](int renamed) {
        std::string text;
        for (int i = 0; i < 40; ++i) {
            text += std::string(i == renamed ? "D:\"Other " : "D:\"Value ") + std::to_string(i) +
                    "\"=0000000" + std::to_string(i % 10) + "\r\n";
        }
        return text;
    };
    const std::string base = lines(-1), renamed = lines(17);
    // A personal name, a repeated name (the last one holds) and more names than the index
    // was sized for.
    std::string grown = base + "S:\"Password\"=p\r\nD:\"Value 3\"=00000063\r\n";
    for (int i = 0; i < 200; ++i) {
        grown += "S:\"Extra " + std::to_string(i) + "\"=x\r\n";
    }
    const std::string shorter = base.substr(0, base.size() / 2);
    // A value whose name and place are the last reading's, but not its kind or a valid number.
    std::string otherKind = base, broken = base, longer = base, shorterNumber = base;
    otherKind.replace(otherKind.find("D:\"Value 5\""), 1, "S");
    const std::size_t number = base.find("\"Value 20\"=0000000") + 11;
    broken.replace(number + 7, 1, "g");
    longer.insert(number, "0");
    shorterNumber.erase(number, 1);
    const std::string files[] = {base, renamed, base, grown,        shorter, grown,
                                 base, renamed, base, otherKind,    base,    broken,
                                 base, longer,  base, shorterNumber};
    // Tables of one shape hold the same names; a shape may be unknown (0), never shared wrongly.
    std::map<std::uint64_t, const std::string*> shapes;
    for (const std::string& file : files) {
        SCOPED_TRACE(file.substr(0, 80));
        IniValueTable table(file.size());
        ReadIniValueFile(file, table);
        EXPECT_EQ(Describe(table), DescribeReadAlone(file));
        if (const std::uint64_t shape = table.GetShape(); shape != 0) {
            EXPECT_EQ(*shapes.emplace(shape, &file).first->second, file);
        }
        // Records look names up by the process's lasting copies, which a table of a shape read
        // before knows by address: the same value as a copy of the name gives, and a lasting
        // text's first characters stay a name of their own.
        for (int i = 0; i < 40; ++i) {
            for (const std::string prefix : {"Value ", "Other "}) {
                const std::string name = prefix + std::to_string(i);
                const std::u16string copy(name.begin(), name.end());
                const YIniFileData* byLastingName = table.Find(GetLastingName(copy));
                EXPECT_EQ(byLastingName, table.Find(copy)) << name;
            }
        }
        // Read in an order of their own, which the tables after this one learn to expect: each
        // name still finds its own value.
        for (std::size_t slot = table.GetSlotCount(); slot-- > 0;) {
            const std::u16string name(table.GetSlotName(slot));
            EXPECT_EQ(table.Find(name), table.GetSlotValue(slot));
        }
        (void)table.Find(GetLastingName(u"Value 9"));
        const YIniFileData* byPrefix =
            table.Find(std::u16string_view(GetLastingName(u"Value 10")).substr(0, 7));
        EXPECT_EQ(byPrefix, table.Find(std::u16string(u"Value 1")));
        // The index stays whole: a name added after reading is found, one never stored is not.
        table.Emplace<YIniFileDataDword>(u"Added", 1u);
        EXPECT_EQ(table.GetShape(), 0u);
        EXPECT_NE(table.Find(u"Added"), nullptr);
        EXPECT_EQ(table.Find(u"Value 99"), nullptr);
    }
    EXPECT_GE(shapes.size(), 3u) << "the files read whole have shapes";
    // Files of the same names in a row share a shape: one whose index grew while it was read,
    // and one whose size would have sized the index otherwise.
    std::string padded = base;
    padded.insert(padded.find("D:\"Value 5\""),
                  "S:\"Value 4\"=" + std::string(30000, 'x') + "\r\n");
    std::string dense;  // lines shorter than the index's sizing assumes
    for (int i = 0; i < 300; ++i) {
        dense += "S:\"k" + std::to_string(i) + "\"=\r\n";
    }
    std::string baseWithLong = base;
    baseWithLong.insert(baseWithLong.find("D:\"Value 5\""), "S:\"Value 4\"=y\r\n");
    for (const auto& [first, second] :
         {std::pair{&dense, &dense}, std::pair{&baseWithLong, &padded}}) {
        std::uint64_t shapes[2] = {};
        for (int i = 0; i < 2; ++i) {
            const std::string& file = i == 0 ? *first : *second;
            IniValueTable table(file.size());
            ReadIniValueFile(file, table);
            shapes[i] = table.GetShape();
        }
        EXPECT_NE(shapes[1], 0u);
        EXPECT_EQ(shapes[0], shapes[1]);
    }
}

// Whole files through a key: the bytes on disk.
class IniFileFormatTest : public rivode::test::IniStoreTest {};

TEST_F(IniFileFormatTest, WorkedExampleIsWrittenByteForByte) {
    {
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"Sessions\\Server 1", true);
        std::vector<std::uint8_t> colors(40);
        std::iota(colors.begin(), colors.end(), std::uint8_t{0});
        // Lists go last and personal values first, whatever the order of setting.
        ASSERT_TRUE(key.SetStringArray(u"Keyword List", {u"first entry", u"second entry"}));
        ASSERT_TRUE(key.SetString(u"Protocol Name", u"SSH2"));
        ASSERT_TRUE(key.SetBinary(u"Custom Colors", colors.data(), 40));
        ASSERT_TRUE(key.SetDword(u"Use Login Script", 1));
    }
    EXPECT_EQ(ReadFileBytes(Main("Sessions/Server 1.ini")),
              kBom +
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

}  // namespace
