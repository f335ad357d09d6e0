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
using rivode::test::FakeReport;
using rivode::test::TempFolder;

TEST(SplitCommandLineTest, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(YSplitCommandLine(u"  /EncodedArgs /F \"L2hvbWUvYQ==\" /T  "),
              (YStringArray{u"/EncodedArgs", u"/F", u"L2hvbWUvYQ==", u"/T"}));
    EXPECT_EQ(YSplitCommandLine(u"a\"b c\"d\te"), (YStringArray{u"ab cd", u"e"}));
    EXPECT_EQ(YSplitCommandLine(u"\"\" x"), (YStringArray{u"", u"x"}));
    EXPECT_TRUE(YSplitCommandLine(u" \t ").empty());
}

TEST(SplitCommandLineTest, BackslashesAreLiteralExceptBeforeAQuote) {
    EXPECT_EQ(YSplitCommandLine(u"C:\\Program\\ x\\"), (YStringArray{u"C:\\Program\\", u"x\\"}));
    EXPECT_EQ(YSplitCommandLine(u"a\\\"b"), (YStringArray{u"a\"b"}));
    EXPECT_EQ(YSplitCommandLine(u"\"a\\\\\" b"), (YStringArray{u"a\\", u"b"}));
    EXPECT_EQ(YSplitCommandLine(u"a\\\\\\\"b"), (YStringArray{u"a\\\"b"}));
}

TEST(SplitCommandLineTest, UnclosedQuoteRunsToTheEnd) {
    EXPECT_EQ(YSplitCommandLine(u"x \"a b"), (YStringArray{u"x", u"a b"}));
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
        for (int i = 0; i < 500; ++i) {
            if (std::filesystem::exists(path)) {
                return rivode::test::ReadFileBytes(path);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return "<no output>";
    }

    TempFolder folder_;
};

TEST_F(LaunchAppTest, StartsAProgramWithItsQuotedArguments) {
    const std::string script = WriteScript("sibling");
    const std::string output = folder_ / "out put";
    const YUnicodeString parameters =
        u"\"" + FromUtf8(output) + u"\" /EncodedArgs /F \"Zm9sZGVy\" \"two words\"";
    ASSERT_TRUE(LaunchApp(FromUtf8(script), parameters, 1));
    EXPECT_EQ(WaitForOutput(output), "/EncodedArgs\n/F\nZm9sZGVy\ntwo words\n");
}

TEST_F(LaunchAppTest, FindsABareNameInTheSearchPath) {
    WriteScript("quill-helper");
    rivode::test::ScopedEnvironment environment;
    environment.Set("PATH", "/nonexistent:" + folder_.Path() + ":/usr/bin:/bin");
    const std::string output = folder_ / "found";
    ASSERT_TRUE(LaunchApp(u"quill-helper", FromUtf8(output) + u" ok", 1));
    EXPECT_EQ(WaitForOutput(output), "ok\n");
}

TEST_F(LaunchAppTest, MissingOrUnrunnableProgramFailsWithAReport) {
    FakeReport report;
    const YUnicodeString missing = FromUtf8(folder_ / "Quillfile");
    EXPECT_FALSE(LaunchApp(missing, u"", 1, report));
    EXPECT_EQ(report.GetMessageId(), 0xE1380208u);
    ASSERT_EQ(report.GetStrings().size(), 2u);
    EXPECT_EQ(report.GetStrings()[0], missing);

    rivode::test::WriteFileBytes(folder_ / "plain", "not a program");
    EXPECT_FALSE(LaunchApp(FromUtf8(folder_ / "plain"), u"", 1));
    EXPECT_FALSE(LaunchApp(FromUtf8(folder_.Path()), u"", 1));

    rivode::test::ScopedEnvironment environment;
    environment.Set("PATH", folder_.Path());
    EXPECT_FALSE(LaunchApp(u"no-such-program-here", u"", 1));
    EXPECT_FALSE(LaunchApp(u"", u"", 1));
}

}  // namespace
