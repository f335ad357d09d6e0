// ".key" files: the version line, the error limit and its reports, the defaults behind a loaded
// map, and the order and form of a written file.
#include "tests/support/TempFolder.h"

#include <RivodeRavudaVU/KeymapLine.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class KeymapFileTest : public ::testing::Test {
protected:
    YUnicodeString Write(const std::string& bytes) {
        WriteFileBytes(folder_ / "map.key", bytes);
        return FromUtf8(folder_ / "map.key");
    }
    TempFolder folder_;
};

TEST_F(KeymapFileTest, VersionLineIsKeptAndTheDefaultsStandBehind) {
    Keymap map;
    YReportMessageParams report;
    ASSERT_TRUE(map.LoadFile(
        Write("Version = 2\r\nN\tVK_F5\tMENU_CONNECT\r\nN\tVK_F1\tDISABLED\r\n"), report));
    EXPECT_TRUE(report.IsSuccess());
    EXPECT_EQ(map.GetVersion(), u"Version = 2");
    EXPECT_FALSE(map.HasCombinedLaunchCommand());
    EXPECT_EQ(map.GetSize(), 2u);
    EXPECT_EQ(map.GetFunctionCode(0x74), 19u);
    EXPECT_EQ(map.GetFunctionCode(0x70), kFunctionDisabled);
    EXPECT_EQ(FunctionCodeToName(map.GetFunctionCode(0x71)), u"VT_PF2");  // from the defaults
    EXPECT_EQ(map.GetValue(0x2E), u"\\177");
}

TEST_F(KeymapFileTest, WithoutVersionLineTheFirstLineIsAMapping) {
    Keymap map;
    YReportMessageParams report;
    // UTF-16 with its mark, as older editors saved it.
    const std::u16string text = u"\uFEFFN\tVK_A\tLAUNCH(\"prog.exe -x\")\r\n";
    ASSERT_TRUE(map.LoadFile(
        Write(std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)), report));
    EXPECT_EQ(map.GetVersion(), u"");
    EXPECT_EQ(map.GetValue(0x41), u"prog.exe");
    EXPECT_EQ(map.GetArguments(0x41), u" -x");
}

TEST_F(KeymapFileTest, OneOrTwoBadLinesWarnAndThreeFailTheLoad) {
    {
        Keymap map;
        YReportMessageParams report;
        KeymapParseState state;
        ASSERT_TRUE(map.LoadFile(Write("N\tVK_A\tBOGUS\nN\tVK_B\tDISABLED\nN\tVK_NOPE\tDISABLED\n"),
                                 report, state));
        EXPECT_EQ(report.GetMessageId(), msg::KeymapHasErrors);
        ASSERT_EQ(state.errors.size(), 2u);
        EXPECT_EQ(state.errors[0].lineNumber, 1);
        EXPECT_EQ(state.errors[1].lineNumber, 3);
        EXPECT_EQ(state.errors[1].messageId, msg::KeymapUnknownKey);
        EXPECT_EQ(report.GetStrings().at(1), state.errorText);
        EXPECT_EQ(map.GetFunctionCode(0x42), kFunctionDisabled);
        EXPECT_NE(map.GetFallback(), nullptr);
    }
    // Where reading stops at the third error is
    // KeymapLineTest.ReadingStopsOnceThreeErrorsAreCounted; the file fails its load, counts the
    // version line and keeps no defaults behind.
    Keymap map;
    YReportMessageParams report;
    KeymapParseState state;
    EXPECT_FALSE(map.LoadFile(
        Write("Version = 2\nN\tVK_A\tBOGUS\nN\tVK_C\tBOGUS\nX\tVK_D\tDISABLED\n"), report, state));
    EXPECT_EQ(report.GetMessageId(), msg::KeymapLoadFailed);
    EXPECT_EQ(state.errors.back().lineNumber, 4);  // the version line counts
    EXPECT_EQ(map.GetFallback(), nullptr);
}

TEST_F(KeymapFileTest, AMissingFileFailsWithTheSystemsReason) {
    Keymap map;
    YReportMessageParams report;
    EXPECT_FALSE(map.LoadFile(FromUtf8(folder_ / "absent.key"), report));
    EXPECT_EQ(report.GetMessageId(), msg::KeymapLoadFailed);
    EXPECT_EQ(GetSystemErrorCause(report), ENOENT);
    EXPECT_EQ(report.GetStrings().at(0), FromUtf8(folder_ / "absent.key"));
}

TEST_F(KeymapFileTest, SavedFileIsSortedUtf8WithVersionAndReadsBackTheSame) {
    Keymap map;
    map.SetFunctionCode(0x04000041, kFunctionDisabled);
    map.SetFunctionCode(0x74, 19);
    map.Set({0x10000042, kFunctionLaunch, u"/usr/bin/xterm", u"-e top"});
    map.Set({0x43, kFunctionSend, u"caf\u00E9 \\033[A", u""});
    auto defaults = std::make_unique<Keymap>();
    FillDefaultMappings(*defaults);
    map.SetFallback(std::move(defaults));  // not written

    const std::string path = folder_ / "saved.key";
    YReportMessageParams report;
    ASSERT_TRUE(map.SaveFile(FromUtf8(path), report));
    EXPECT_EQ(ReadFileBytes(path),
              "\xEF\xBB\xBFVersion = 2\r\n"
              "N\tVK_C                \t\"caf\xC3\xA9 \\033[A\"\r\n"
              "N\tVK_F5               \tMENU_CONNECT\r\n"
              "C\tVK_A                \tDISABLED\r\n"
              "A\tVK_B                \tLAUNCH(\"/usr/bin/xterm\")(\"-e top\")\r\n");
    Keymap reread;
    ASSERT_TRUE(reread.LoadFile(FromUtf8(path), report));
    EXPECT_TRUE(reread == map);

    YReportMessageParams refused;
    EXPECT_FALSE(map.SaveFile(FromUtf8(folder_ / "no/such/folder.key"), refused));
    EXPECT_FALSE(refused.IsSuccess());
}

}  // namespace
}  // namespace rivode::test
