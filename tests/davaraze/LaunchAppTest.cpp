#include "tests/davaraze/FakeReport.h"
#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"

#include <DavaraZE/YLaunchApp.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using rivode::FromUtf8;

TEST(SplitCommandLineTest, BlanksSeparateQuotesGroupAndBackslashesEscapeOnlyQuotes) {
    const std::pair<const char16_t*, YStringArray> cases[] = {
        {u"  /EncodedArgs /F \"L2hvbWUvYQ==\" /T  ",
         {u"/EncodedArgs", u"/F", u"L2hvbWUvYQ==", u"/T"}},
        {u"a\"b c\"d\te", {u"ab cd", u"e"}},
        {u"\"\" x", {u"", u"x"}},
        {u" \t ", {}},
        {u"x \"a b", {u"x", u"a b"}},  // an unclosed quote runs to the end
        {u"C:\\Program\\ x\\", {u"C:\\Program\\", u"x\\"}},
        {u"a\\\"b", {u"a\"b"}},
        {u"\"a\\\\\" b", {u"a\\", u"b"}},
        {u"a\\\\\\\"b", {u"a\\\"b"}},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(YSplitCommandLine(line), expected) << rivode::ToUtf8(line);
    }
}

class LaunchAppTest : public ::testing::Test {
protected:
    // A script that writes its arguments, one a line, to the file named by its first argument.
    std::string WriteScript(const std::string& name) {
        const std::string path = folder_ / name;
        rivode::test::WriteFileBytes(path,
                                     "#!/bin/sh\nout=\"$1\"\nshift\nprintf '%s\\n' \"$@\" > "
                                     "\"$out.tmp\"\nmv \"$out.tmp\" \"$out\"\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }

    // The program runs detached: wait for its output to appear.
    std::string WaitForOutput(const std::string& path) {
        for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::filesystem::exists(path) ? rivode::test::ReadFileBytes(path) : "<no output>";
    }

    rivode::test::TempFolder folder_;
    rivode::test::ScopedEnvironment environment_;
};

TEST_F(LaunchAppTest, StartsAProgramByPathOrSearchPathWithItsQuotedArguments) {
    const std::string script = WriteScript("quill-helper");
    const std::string output = folder_ / "out put";
    ASSERT_TRUE(
        LaunchApp(FromUtf8(script),
                  u"\"" + FromUtf8(output) + u"\" /EncodedArgs /F \"Zm9sZGVy\" \"two words\"", 1));
    EXPECT_EQ(WaitForOutput(output), "/EncodedArgs\n/F\nZm9sZGVy\ntwo words\n");

    environment_.Set("PATH", ("/nonexistent:" + folder_.Path() + ":/usr/bin:/bin").c_str());
    ASSERT_TRUE(LaunchApp(u"quill-helper", FromUtf8(folder_ / "found") + u" ok", 1));
    EXPECT_EQ(WaitForOutput(folder_ / "found"), "ok\n");
}

TEST_F(LaunchAppTest, MissingOrUnrunnableProgramFailsWithAReport) {
    rivode::test::WriteFileBytes(folder_ / "plain", "not a program");
    environment_.Set("PATH", folder_.Path().c_str());
    for (const YUnicodeString& program :
         {FromUtf8(folder_ / "Quillfile"), FromUtf8(folder_ / "plain"), folder_.Path16(),
          YUnicodeString(u"no-such-program-here"), YUnicodeString()}) {
        rivode::test::FakeReport report;
        EXPECT_FALSE(LaunchApp(program, u"", 1, report)) << rivode::ToUtf8(program);
        EXPECT_NE(report.GetMessageId(), 0u);
    }
    rivode::test::FakeReport report;
    EXPECT_FALSE(LaunchApp(FromUtf8(folder_ / "Quillfile"), u"", 1, report));
    EXPECT_EQ(report.GetMessageId(), 0xE1380208u);
    EXPECT_EQ(report.GetStrings().at(0), FromUtf8(folder_ / "Quillfile"));
}

}  // namespace
