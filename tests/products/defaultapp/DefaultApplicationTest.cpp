#include <RivodeRavudaVU/SiblingProducts.h>
#include <RivodeRavudaVU/YDefaultApplication.h>

#include "products/DesktopEntry.h"
#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace rivode::test {
namespace {

const std::vector<std::string> kTypes{"x-scheme-handler/telnet", "x-scheme-handler/ssh"};

TEST(HandlerList, OurTypesAreSetAndEveryOtherLineIsKept) {
    const struct {
        const char* title;
        const char* before;
        const char* after;
    } cases[] = {
        {"no list yet", "",
         "[Default Applications]\nx-scheme-handler/telnet=quillterm.desktop;\n"
         "x-scheme-handler/ssh=quillterm.desktop;\n"},
        {"only other groups", "# kept\n[Added Associations]\ntext/plain=editor.desktop;\n",
         "# kept\n[Added Associations]\ntext/plain=editor.desktop;\n\n[Default Applications]\n"
         "x-scheme-handler/telnet=quillterm.desktop;\nx-scheme-handler/ssh=quillterm.desktop;\n"},
        {"one type taken over in place, the other added before the next group",
         "[Default Applications]\ntext/html=browser.desktop\nx-scheme-handler/ssh = other.desktop;"
         "old.desktop;\n\n[Removed Associations]\nx-scheme-handler/ssh=old.desktop;\n",
         "[Default "
         "Applications]\ntext/html=browser.desktop\nx-scheme-handler/ssh=quillterm.desktop;"
         "\nx-scheme-handler/telnet=quillterm.desktop;\n\n[Removed Associations]\n"
         "x-scheme-handler/ssh=old.desktop;\n"},
        {"a similar key is another type",
         "[Default Applications]\nx-scheme-handler/sshfs=mounter.desktop;",
         "[Default Applications]\nx-scheme-handler/sshfs=mounter.desktop;\n"
         "x-scheme-handler/telnet=quillterm.desktop;\nx-scheme-handler/ssh=quillterm.desktop;\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const std::string after = SetDefaultHandlers(c.before, "quillterm.desktop", kTypes);
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(GetDefaultHandler(after, "x-scheme-handler/ssh"), "quillterm.desktop");
    }
}

TEST(DesktopEntry, ExecKeepsAnyPathAsOneArgument) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"/opt/Quillterm/Quillterm", "Exec=\"/opt/Quillterm/Quillterm\" %u\n"},
        {u"/opt/my \"q\" $HOME `x` 100%/Q\\T",
         "Exec=\"/opt/my \\\\\"q\\\\\" \\\\$HOME \\\\`x\\\\` 100%%/Q\\\\\\\\T\" %u\n"},
        {u"/opt/two\nlines", "Exec=\"/opt/two\\nlines\" %u\n"},
    };
    for (const auto& [path, execLine] : cases) {
        const std::string entry = MakeDesktopEntry({u"Quillterm", u"A terminal", path, kTypes});
        EXPECT_NE(entry.find(execLine), std::string::npos) << entry;
    }
}

class DefaultApplication : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.Set("XDG_DATA_HOME", (home_ / "data").c_str());
        environment_.Set("XDG_CONFIG_HOME", (home_ / "config").c_str());
    }
    void TearDown() override { DetectSiblingProducts(home_.Path()); }

    TempFolder home_;
    ScopedEnvironment environment_;
};

TEST_F(DefaultApplication, RegisteringWritesTheEntryAndTakesOverOnlyOurSchemes) {
    YDefaultApplication application;
    DetectSiblingProducts(home_.Path());
    EXPECT_FALSE(GetQuilltermDefaultApplicationSettings(application));  // nothing to register

    WriteFileBytes(home_ / "Quillterm", "");
    WriteFileBytes(home_ / "Quillterm.version",
                   "FileType=Application\nFileVersion=9.0\nCompanyName=Yarrowby Software, Inc.\n");
    DetectSiblingProducts(home_.Path());
    ASSERT_TRUE(GetQuilltermDefaultApplicationSettings(application));
    EXPECT_EQ(application.description.find(u'\n'), YUnicodeString::npos);
    EXPECT_FALSE(application.IsDefault());

    std::filesystem::create_directories(home_ / "config");
    const std::string foreign = "[Default Applications]\nx-scheme-handler/http=browser.desktop;\n";
    WriteFileBytes(home_ / "config/mimeapps.list", foreign + "x-scheme-handler/ssh=other;\n");
    YReportMessageParams report;
    ASSERT_TRUE(application.Register(report)) << ToUtf8(report.GetText());

    EXPECT_TRUE(application.IsDefault());
    EXPECT_EQ(ReadFileBytes(home_ / "config/mimeapps.list"),
              foreign +
                  "x-scheme-handler/ssh=quillterm.desktop;\n"
                  "x-scheme-handler/telnet=quillterm.desktop;\n"
                  "x-scheme-handler/rlogin=quillterm.desktop;\n");
    const std::string entry = ReadFileBytes(home_ / "data/applications/quillterm.desktop");
    EXPECT_NE(entry.find("Exec=\"" + home_ / "Quillterm" + "\" %u\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=x-scheme-handler/telnet;x-scheme-handler/ssh;"
                         "x-scheme-handler/rlogin;\n"),
              std::string::npos);
}

TEST_F(DefaultApplication, AListThatCannotBeReplacedIsReportedAndLeftAsItWas) {
    const YDefaultApplication application{u"Quillterm", u"/opt/Quillterm", u"", {u"ssh"}};
    std::filesystem::create_directories(home_ / "config/mimeapps.list.new");
    WriteFileBytes(home_ / "config/mimeapps.list", "[Default Applications]\n");
    YReportMessageParams report;
    EXPECT_FALSE(application.Register(report));
    EXPECT_EQ(report.GetStrings().at(0), FromUtf8(home_ / "config/mimeapps.list"));
    EXPECT_EQ(ReadFileBytes(home_ / "config/mimeapps.list"), "[Default Applications]\n");
}

}  // namespace
}  // namespace rivode::test
