// The name rules for sessions, folders and other named items: which names are refused, in
// which order the rules apply, and what the user is told.
#include "tests/config/database/SessionDatabaseTestSupport.h"
#include "tests/support/RecordingUserInterface.h"

#include <RivodeRavudaVU/SessionNameValidation.h>

#include <gtest/gtest.h>

#include <memory>

namespace rivode::test {
namespace {

class SessionNameTest : public SessionDatabaseTest {
protected:
    SessionNameTest() {
        YSetUserInterface(recorder_);
        WriteSession("Work/Server");
        WriteSession("Lab");
    }
    ~SessionNameTest() override { YSetUserInterface(nullptr); }

    // The text shown for the name, or "" when it was accepted silently.
    std::string Shown(bool accepted) {
        EXPECT_EQ(accepted, recorder_->shown.empty());
        const std::string text =
            recorder_->shown.empty() ? "" : ToUtf8(recorder_->shown.back().text);
        recorder_->shown.clear();
        return text;
    }

    std::shared_ptr<RecordingUserInterface> recorder_ = std::make_shared<RecordingUserInterface>();
};

TEST_F(SessionNameTest, EachRuleRefusesWithItsMessageInOrder) {
    struct Case {
        const char16_t *path, *oldName, *newName;
        bool isNew;
        const char* message;  // "" when the name is accepted
    };
    const Case cases[] = {
        {u"", u"New", u"", true, "The name must be specified."},
        // Tested character by character in a fixed order: the slash is found before the colon.
        {u"", u"New", u"a:b/c", true, "The name contains an illegal character: ' / '"},
        {u"", u"New", u"x|y", true, "The name contains an illegal character: ' | '"},
        {u"", u"New", u"...", true, "'...' cannot be used as a name."},
        {u"", u"New", u"com1.txt", true,
         "com1.txt is a reserved device name on Windows and cannot be used as a name."},
        {u"", u"New", u"COM10", true, ""},
        {u"Work\\", u"New", u"server", true, "'server' is already in use."},
        {u"", u"New", u"Server", true, ""},  // another folder
        {u"Work\\Server", u"Server", u"Server", false, ""},
        {u"Work\\Server", u"Server", u"SERVER", false, ""},             // a letter-case change
        {u"Work\\Server", u"Server", u"Lab", false, ""},                // Lab is in another folder
        {u"Lab", u"Lab", u"work", false, "'work' is already in use."},  // a folder's name
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path) + " " + ToUtf8(c.newName));
        const bool accepted = ValidateSessionName(c.path, c.oldName, c.newName, c.isNew, nullptr);
        EXPECT_EQ(Shown(accepted), c.message);
    }
}

TEST_F(SessionNameTest, NameInUseAndStoreRefusalsAreWarnings) {
    EXPECT_FALSE(ValidateSessionName(u"", u"New", u"Lab", true, nullptr));
    ASSERT_EQ(recorder_->shown.size(), 1u);
    EXPECT_EQ(recorder_->shown[0].style & 0xF0, YMB_ICONWARNING);
    recorder_->shown.clear();
    // Longer than any file name can be: the store's own report.
    EXPECT_FALSE(ValidateSessionName(u"", u"New", YUnicodeString(300, u'n'), true, nullptr));
    ASSERT_EQ(recorder_->shown.size(), 1u);
    EXPECT_EQ(recorder_->shown[0].style & 0xF0, YMB_ICONWARNING);
}

TEST_F(SessionNameTest, LocalFilenamesAreCheckedForIllegalCharactersOnly) {
    EXPECT_TRUE(ValidateLocalFilename(u"..."));
    EXPECT_TRUE(ValidateLocalFilename(u"CON"));
    EXPECT_EQ(Shown(true), "");
    EXPECT_FALSE(ValidateLocalFilename(u"log?.txt"));
    ASSERT_EQ(recorder_->shown.size(), 1u);
    EXPECT_EQ(recorder_->shown[0].style & 0xF0, YMB_ICONWARNING);
    EXPECT_EQ(Shown(false), "The name contains an illegal character: ' ? '");
}

TEST(KeyNameTest, RulesFillTheReportWithTheItemKind) {
    struct Case {
        const char16_t *oldName, *newName;
        bool isNew, targetExists;
        const char* message;  // "" when valid
    };
    const Case cases[] = {
        {u"", u"", true, false, "The firewall name must be specified."},
        {u"", u"a<b", true, false, "The firewall name contains an illegal character: ' < '."},
        {u"", u"aux", true, false,
         "'aux' is a reserved device name and cannot be used as a firewall name."},
        {u"", u"Proxy", true, true, "The firewall name 'Proxy' already exists."},
        {u"Proxy", u"Gate", false, true, "The firewall name 'Gate' already exists."},
        {u"Proxy", u"PROXY", false, true, ""},  // the item itself, in other letters
        {u"", u"Proxy", true, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.newName));
        YReportMessageParams report;
        const bool valid =
            ValidateKeyName(c.oldName, c.newName, c.isNew, u"firewall", c.targetExists, report);
        EXPECT_EQ(valid, *c.message == '\0');
        EXPECT_EQ(valid ? "" : ToUtf8(report.GetTextTrimmed()), c.message);
    }
}

}  // namespace
}  // namespace rivode::test
