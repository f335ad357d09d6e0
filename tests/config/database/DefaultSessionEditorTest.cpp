// The default-session editor with a stand-in Session Options dialog, and the "Save Session"
// dialog's name check, through a user interface that records what it is asked.
#include "tests/config/database/SessionDatabaseTestSupport.h"
#include "tests/support/RecordingUserInterface.h"

#include <RivodeRavudaVU/EditDefaultSession.h>
#include <RivodeRavudaVU/SaveAdHocSessionDialog.h>

#include <DavaraZE/YDialog.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace rivode::test {
namespace {

// Records message boxes and answers every dialog with one result.
class AnsweringUserInterface final : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest& request) override {
        return recorder.ShowMessageBox(request);
    }
    int RunProgress(YProgressDialog& progress) override { return recorder.RunProgress(progress); }
    int RunDialog(YDialog& dialog) override {
        dialogs.push_back(dialog.GetTemplateId());
        return dialogAnswer;
    }

    RecordingUserInterface recorder;
    std::vector<unsigned> dialogs;
    int dialogAnswer = YID_OK;
};

// The stand-in dialog: checks how it was opened and changes "Title Bar" unless told to leave
// the session alone.
struct FakeOptionsDialog {
    static inline int mode = 0;
    static inline bool skipNameValidation = false;
    static inline bool change = true;
    static inline int result = YID_OK;

    static int Show(GlobalConfig*, ISessionConfig* session, int shownMode, bool, bool skip, int,
                    bool, int, bool, bool&, int, QWidget*) {
        mode = shownMode;
        skipNameValidation = skip;
        if (change) {
            static_cast<SessionConfig*>(session)->titleBar = u"edited";
        }
        return result;
    }
};

class DefaultSessionEditorTest : public SessionDatabaseTest {
protected:
    DefaultSessionEditorTest() {
        YSetUserInterface(ui_);
        RegisterSessionOptionsDialog(&FakeOptionsDialog::Show);
        FakeOptionsDialog::change = true;
        FakeOptionsDialog::result = YID_OK;
        for (int i = 0; i < 10; ++i) {
            const std::string name = "S" + std::to_string(i);
            WriteSession(name);
            if (i < 3) {
                std::filesystem::permissions(Main("Sessions/" + name + ".ini"),
                                             std::filesystem::perms::owner_read);
            }
        }
    }
    ~DefaultSessionEditorTest() override {
        RegisterSessionOptionsDialog(nullptr);
        YSetUserInterface(nullptr);
    }

    std::string DefaultTitle() {
        return ToUtf8(AsRecord(*Database().OpenSession(u"Default")).titleBar.Get());
    }

    std::shared_ptr<AnsweringUserInterface> ui_ = std::make_shared<AnsweringUserInterface>();
};

TEST_F(DefaultSessionEditorTest, ConfirmedChangesReachWritableSessionsWithAWarning) {
    bool allUpdated = false;
    EXPECT_TRUE(EditDefaultSession(nullptr, 0, 3, nullptr, allUpdated));
    EXPECT_EQ(FakeOptionsDialog::mode, 3);
    EXPECT_TRUE(FakeOptionsDialog::skipNameValidation);
    EXPECT_EQ(ui_->dialogs, (std::vector<unsigned>{11474}));
    ASSERT_EQ(ui_->recorder.shown.size(), 1u);
    EXPECT_EQ(ToUtf8(ui_->recorder.shown[0].text),
              "Of your 10 sessions, 3 could not be updated because they are currently read-only.");
    EXPECT_EQ(ui_->recorder.shown[0].style & YMB_ICONMASK, YMB_ICONWARNING);
    EXPECT_FALSE(allUpdated);
    EXPECT_EQ(DefaultTitle(), "edited");
    EXPECT_EQ(ToUtf8(AsRecord(*Database().OpenSession(u"S9")).titleBar.Get()), "edited");
    EXPECT_EQ(ToUtf8(AsRecord(*Database().OpenSession(u"S0")).titleBar.Get()), "");
}

TEST_F(DefaultSessionEditorTest, AnswersAndCancelsDecideWhatIsStored) {
    struct Case {
        bool change;
        int dialogResult;
        int questionAnswer;
        bool saved;
        std::size_t questions;
        const char* defaultTitle;
    };
    // In sequence on one configuration folder.
    const Case cases[] = {
        {false, YID_OK, YID_OK, true, 0, ""},               // nothing changed: no question
        {true, YID_CANCEL, YID_OK, false, 0, ""},           // the dialog was cancelled
        {true, YID_OK, YID_CANCEL, true, 1, "edited"},      // the default session only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dialogResult) + " " + std::to_string(c.questionAnswer));
        FakeOptionsDialog::change = c.change;
        FakeOptionsDialog::result = c.dialogResult;
        ui_->dialogAnswer = c.questionAnswer;
        ui_->dialogs.clear();
        bool allUpdated = false;
        EXPECT_EQ(EditDefaultSession(nullptr, 0, 3, nullptr, allUpdated), c.saved);
        EXPECT_EQ(ui_->dialogs.size(), c.questions);
        EXPECT_EQ(DefaultTitle(), c.defaultTitle);
        EXPECT_EQ(ToUtf8(AsRecord(*Database().OpenSession(u"S9")).titleBar.Get()), "");
        EXPECT_TRUE(ui_->recorder.shown.empty());
    }
}

TEST_F(DefaultSessionEditorTest, SaveSessionDialogRefusesNamesInUse) {
    SaveAdHocSessionDialog dialog(nullptr, u"s1");
    dialog.OnOK();
    EXPECT_FALSE(dialog.IsEnded());
    ASSERT_EQ(ui_->recorder.shown.size(), 1u);
    EXPECT_EQ(ToUtf8(ui_->recorder.shown[0].text), "The session name 's1' already exists.");

    dialog.SetSessionName(u"Fresh");
    dialog.OnOK();
    EXPECT_EQ(dialog.GetResult(), YID_OK);
    EXPECT_EQ(dialog.GetSessionName(), u"Fresh");
    EXPECT_EQ(ui_->recorder.shown.size(), 1u);
}

}  // namespace
}  // namespace rivode::test
