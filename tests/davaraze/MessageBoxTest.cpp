#include "tests/davaraze/FakeReport.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YMessageStrings.h>
#include <DavaraZE/YProgressDialog.h>
#include <DavaraZE/YUserInterface.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

using rivode::test::FakeReport;

// Records what reached the back end and answers with a chosen button.
class RecordingUserInterface final : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest& request) override {
        shown.push_back(request);
        if (tickCheckBox && request.suppressed != nullptr) {
            *request.suppressed = true;
        }
        return answer;
    }
    int RunProgress(YProgressDialog&) override { return 0; }

    std::vector<YMessageBoxRequest> shown;
    int answer = YID_OK;
    bool tickCheckBox = false;
};

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        YSetAppName(u"Quillterm");
        YSetUserInterface(recorder_);
    }
    void TearDown() override {
        YSetUserInterface(nullptr);
        YSetAppName(u"");
    }

    std::shared_ptr<RecordingUserInterface> recorder_ = std::make_shared<RecordingUserInterface>();
};

TEST_F(MessageBoxTest, ReportGetsTheIconOfItsSeverityAndTheAppNameAsCaption) {
    FakeReport error(0xE1380003, u"Quillfile could not be launched.\r\n");
    FakeReport warning(0xA1380010, u"Careful.");
    FakeReport information(0x61380022, u"Restart to apply.");
    FakeReport systemError(13, u"Permission denied");
    YMessageBox(error);
    YMessageBox(warning);
    YMessageBox(information);
    YMessageBox(systemError);
    ASSERT_EQ(recorder_->shown.size(), 4u);
    EXPECT_EQ(recorder_->shown[0].style & YMB_ICONMASK, YMB_ICONERROR);
    EXPECT_EQ(recorder_->shown[0].text, u"Quillfile could not be launched.");
    EXPECT_EQ(recorder_->shown[0].caption, u"Quillterm");
    EXPECT_EQ(recorder_->shown[1].style & YMB_ICONMASK, YMB_ICONWARNING);
    EXPECT_EQ(recorder_->shown[2].style & YMB_ICONMASK, YMB_ICONINFORMATION);
    EXPECT_EQ(recorder_->shown[3].style & YMB_ICONMASK, YMB_ICONERROR);
}

TEST_F(MessageBoxTest, CallersIconAndCaptionWin) {
    FakeReport error(0xE1380003, u"text");
    YMessageBox(error, YMB_YESNO | YMB_ICONQUESTION, u"Title");
    ASSERT_EQ(recorder_->shown.size(), 1u);
    EXPECT_EQ(recorder_->shown[0].style, YMB_YESNO | YMB_ICONQUESTION);
    EXPECT_EQ(recorder_->shown[0].caption, u"Title");
}

TEST_F(MessageBoxTest, ReturnsTheButtonTheBackEndReports) {
    recorder_->answer = YID_NO;
    EXPECT_EQ(YMessageBox(u"Overwrite?", YMB_YESNO), YID_NO);
}

TEST_F(MessageBoxTest, OptionalBoxIsSkippedOnceSuppressed) {
    bool suppressed = false;
    recorder_->tickCheckBox = true;
    EXPECT_EQ(YOptionalMessageBox(nullptr, u"Read-only.", YMB_OK, u"&Do not display", suppressed),
              YID_OK);
    EXPECT_TRUE(suppressed);
    ASSERT_EQ(recorder_->shown.size(), 1u);
    EXPECT_EQ(recorder_->shown[0].checkBoxText, u"&Do not display");

    EXPECT_EQ(YOptionalMessageBox(nullptr, u"Read-only.", YMB_YESNO | YMB_DEFBUTTON2,
                                  u"&Do not display", suppressed),
              YID_NO);
    EXPECT_EQ(recorder_->shown.size(), 1u);
}

TEST(MessageBoxStyleTest, DefaultAndSafeAnswers) {
    EXPECT_EQ(YMessageBoxDefaultButton(YMB_YESNO), YID_YES);
    EXPECT_EQ(YMessageBoxDefaultButton(YMB_YESNO | YMB_DEFBUTTON2), YID_NO);
    EXPECT_EQ(YMessageBoxDefaultButton(YMB_YESNOCANCEL | YMB_DEFBUTTON3), YID_CANCEL);
    // A default mark beyond the buttons falls back to the first.
    EXPECT_EQ(YMessageBoxDefaultButton(YMB_OK | YMB_DEFBUTTON3), YID_OK);
    EXPECT_EQ(YMessageBoxSafeAnswer(YMB_OK | YMB_ICONWARNING), YID_OK);
    EXPECT_EQ(YMessageBoxSafeAnswer(YMB_YESNO), YID_NO);
    EXPECT_EQ(YMessageBoxSafeAnswer(YMB_YESNOCANCEL), YID_CANCEL);
    EXPECT_EQ(YMessageBoxSafeAnswer(YMB_ABORTRETRYIGNORE), YID_ABORT);
    EXPECT_EQ(YMessageBoxSafeAnswer(YMB_RETRYCANCEL), YID_CANCEL);
}

class ConsoleMessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override {
        YSetUserInterface(nullptr);
        YSetMessageStringLoader(nullptr);
        YSetAppName(u"");
    }

    int Show(const YUnicodeString& text, unsigned style, bool terminal) {
        YSetAppName(u"rivode");
        YSetUserInterface(YCreateConsoleUserInterface(input_, output_, terminal, false));
        return YMessageBox(text, style);
    }

    std::istringstream input_;
    std::ostringstream output_;
};

TEST_F(ConsoleMessageBoxTest, WithoutTerminalQuestionsGetTheSafeAnswer) {
    input_.str("y\n");  // never read: nobody is at a terminal
    EXPECT_EQ(Show(u"Delete the session?", YMB_YESNO, false), YID_NO);
    EXPECT_EQ(Show(u"Save changes?", YMB_YESNOCANCEL, false), YID_CANCEL);
    EXPECT_EQ(Show(u"Done.", YMB_OK, false), YID_OK);
    const std::string shown = output_.str();
    EXPECT_NE(shown.find("rivode: Delete the session?\n(Yes/No) No\n"), std::string::npos);
    EXPECT_NE(shown.find("rivode: Done.\n"), std::string::npos);
}

TEST_F(ConsoleMessageBoxTest, MessageLinesEndTheTerminalWay) {
    Show(u"first\r\nsecond\rthird", YMB_OK, false);
    EXPECT_EQ(output_.str(), "rivode: first\nsecond\nthird\n");
}

TEST_F(ConsoleMessageBoxTest, TerminalAnswersAreUnderstood) {
    input_.str("yes\n n \nC\n");
    EXPECT_EQ(Show(u"q1", YMB_YESNO, true), YID_YES);
    EXPECT_EQ(Show(u"q2", YMB_YESNO, true), YID_NO);
    EXPECT_EQ(Show(u"q3", YMB_YESNOCANCEL, true), YID_CANCEL);
}

TEST_F(ConsoleMessageBoxTest, EmptyAnswerTakesTheDefaultButton) {
    input_.str("\n\n");
    EXPECT_EQ(Show(u"q1", YMB_YESNO, true), YID_YES);
    EXPECT_EQ(Show(u"q2", YMB_YESNO | YMB_DEFBUTTON2, true), YID_NO);
}

TEST_F(ConsoleMessageBoxTest, NonsenseOrEndOfInputGivesTheSafeAnswer) {
    input_.str("maybe\nperhaps\nwhat\n");
    EXPECT_EQ(Show(u"q1", YMB_YESNO, true), YID_NO);
    EXPECT_EQ(Show(u"q2", YMB_OKCANCEL, true), YID_CANCEL);  // input exhausted
}

TEST_F(ConsoleMessageBoxTest, AnswersInTheUsersLanguage) {
    YSetMessageStringLoader([](std::uint32_t id) -> YUnicodeString {
        switch (id & 0xFFFF) {
        case 0x0235: return u"&Oui";
        case 0x0236: return u"&Non";
        default: return {};
        }
    });
    input_.str("oui\nO\n");
    EXPECT_EQ(Show(u"q1", YMB_YESNO, true), YID_YES);
    EXPECT_EQ(Show(u"q2", YMB_YESNO, true), YID_YES);
    EXPECT_NE(output_.str().find("(Oui/Non) [Oui]"), std::string::npos);
}

}  // namespace
