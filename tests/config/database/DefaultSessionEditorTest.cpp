// The default-session editor with a stand-in Session Options dialog, and the "Save Session"
// dialog's name check, through a user interface that records what it is asked.
#include "tests/config/database/SessionDatabaseTestSupport.h"
#include "tests/support/RecordingUserInterface.h"

#include <RivodeRavudaVU/EditDefaultSession.h>
#include <RivodeRavudaVU/SaveAdHocSessionDialog.h>

#include <DavaraZE/YDialog.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace rivode::test {
namespace {

// The stand-in dialog: records how it was opened and sets "Title Bar" to edit (unless null).
struct FakeOptionsDialog {
    static inline int mode = 0;
    static inline bool skipNameValidation = false;
    static inline const char16_t* edit = nullptr;
    static inline int result = YID_OK;

    static int Show(GlobalConfig*, ISessionConfig* session, int shownMode, bool, bool skip, int,
                    bool, int, bool, bool&, int, QWidget*) {
        mode = shownMode;
        skipNameValidation = skip;
        if (edit != nullptr) {
            static_cast<SessionConfig*>(session)->titleBar = edit;
        }
        return result;
    }
};

class DefaultSessionEditorTest : public SessionDatabaseTest {
protected:
    DefaultSessionEditorTest() {
        YSetUserInterface(ui_);
        RegisterSessionOptionsDialog(&FakeOptionsDialog::Show);
        WriteTenSessions();
    }
    ~DefaultSessionEditorTest() override {
        RegisterSessionOptionsDialog(nullptr);
        YSetUserInterface(nullptr);
    }

    std::string DefaultTitle() {
        return ToUtf8(AsRecord(*Database().OpenSession(u"Default")).titleBar.Get());
    }

    std::shared_ptr<RecordingUserInterface> ui_ = std::make_shared<RecordingUserInterface>();
};

TEST_F(DefaultSessionEditorTest, AnswersDecideWhereChangesGoAndReadOnlySessionsAreReported) {
    const std::string warning =
        "Of your 10 sessions, 3 could not be updated because they are currently read-only.";
    struct Case {
        const char16_t* edit;
        int dialogResult;
        int questionAnswer;
        bool saved;
        std::size_t questions;
        std::string shown;
        const char* defaultTitle;
        const char* sessionTitle;  // of a writable session
    };
    // In sequence on one configuration folder.
    const Case cases[] = {
        {nullptr, YID_OK, YID_OK, true, 0, "", "", ""},                  // nothing changed
        {u"one", YID_CANCEL, YID_OK, false, 0, "", "", ""},              // the dialog was cancelled
        {u"two", YID_OK, YID_CANCEL, true, 1, "", "two", ""},            // the default session only
        {u"three", YID_OK, YID_OK, true, 1, warning, "three", "three"},  // every session
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.defaultTitle);
        FakeOptionsDialog::edit = c.edit;
        FakeOptionsDialog::result = c.dialogResult;
        ui_->dialogAnswer = c.questionAnswer;
        ui_->dialogs.clear();
        ui_->shown.clear();
        bool allUpdated = false;
        EXPECT_EQ(EditDefaultSession(nullptr, 0, 3, nullptr, allUpdated), c.saved);
        EXPECT_FALSE(allUpdated);
        EXPECT_EQ(ui_->dialogs, std::vector<unsigned>(c.questions, 11474));
        EXPECT_EQ(ui_->shown.empty() ? "" : ToUtf8(ui_->shown[0].text), c.shown);
        EXPECT_EQ(DefaultTitle(), c.defaultTitle);
        EXPECT_EQ(ToUtf8(AsRecord(*Database().OpenSession(SessionPath(9))).titleBar.Get()),
                  c.sessionTitle);
        EXPECT_EQ(ToUtf8(AsRecord(*Database().OpenSession(u"S0")).titleBar.Get()), "");
    }
    EXPECT_EQ(ui_->shown[0].style & YMB_ICONMASK, YMB_ICONWARNING);
    EXPECT_EQ(FakeOptionsDialog::mode, 3);
    EXPECT_TRUE(FakeOptionsDialog::skipNameValidation);
}

TEST_F(DefaultSessionEditorTest, OpeningOrCancellingLeavesTheFolderUntouchedOnlyOkStores) {
    const auto files = [this] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(MainRoot())) {
            names.insert(entry.path().string());
        }
        return names;
    };
    const std::set<std::string> before = files();
    FakeOptionsDialog::edit = u"cancelled";
    FakeOptionsDialog::result = YID_CANCEL;
    bool allUpdated = false;
    EXPECT_FALSE(EditDefaultSession(nullptr, 0, 3, nullptr, allUpdated));
    EXPECT_EQ(files(), before);

    FakeOptionsDialog::result = YID_OK;
    ui_->dialogAnswer = YID_CANCEL;
    EXPECT_TRUE(EditDefaultSession(nullptr, 0, 3, nullptr, allUpdated));
    EXPECT_EQ(DefaultTitle(), "cancelled");
    EXPECT_TRUE(Database().IsSession(u"Default"));
}

TEST_F(DefaultSessionEditorTest, SaveSessionDialogRefusesNamesInUse) {
    SaveAdHocSessionDialog dialog(nullptr, u"s1");
    dialog.OnOK();
    EXPECT_FALSE(dialog.IsEnded());
    ASSERT_EQ(ui_->shown.size(), 1u);
    EXPECT_EQ(ToUtf8(ui_->shown[0].text), "The session name 's1' already exists.");

    dialog.SetSessionName(u"Fresh");
    dialog.OnOK();
    EXPECT_EQ(dialog.GetResult(), YID_OK);
    EXPECT_EQ(dialog.GetSessionName(), u"Fresh");
    EXPECT_EQ(ui_->shown.size(), 1u);
}

}  // namespace
}  // namespace rivode::test
