#include "tests/davaraze/FakeReport.h"
#include "tests/support/RecordingUserInterface.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YMessageStrings.h>
#include <DavaraZE/YUserInterface.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

using rivode::test::RecordingUserInterface;

using rivode::test::FakeReport;

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        YSetAppName(u"Quillterm");
        YSetUserInterface(recorder_);
    }
    void TearDown() override {
        YSetUserInterface(nullptr);
        YSetMessageStringLoader(nullptr);
        YSetAppName(u"");
    }

    std::shared_ptr<RecordingUserInterface> recorder_ = std::make_shared<RecordingUserInterface>();
};

TEST_F(MessageBoxTest, ReportGetsTheIconOfItsSeverityUnlessTheCallerChoosesOne) {
    const std::pair<std::uint32_t, unsigned> cases[] = {
        {0xE1380003, YMB_ICONERROR},
        {0xA1380010, YMB_ICONWARNING},
        {0x61380022, YMB_ICONINFORMATION},
        {13, YMB_ICONERROR},  // a system error number
    };
    for (const auto& [id, icon] : cases) {
        FakeReport report(id, u"Quillfile could not be launched.\r\n");
        YMessageBox(report);
        EXPECT_EQ(recorder_->shown.back().style & YMB_ICONMASK, icon) << id;
        EXPECT_EQ(recorder_->shown.back().text, u"Quillfile could not be launched.");
        EXPECT_EQ(recorder_->shown.back().caption, u"Quillterm");
    }
    FakeReport error(0xE1380003, u"text");
    YMessageBox(error, YMB_YESNO | YMB_ICONQUESTION, u"Title");
    EXPECT_EQ(recorder_->shown.back().style, YMB_YESNO | YMB_ICONQUESTION);
    EXPECT_EQ(recorder_->shown.back().caption, u"Title");
}

TEST_F(MessageBoxTest, OptionalBoxIsSkippedOnceSuppressed) {
    bool suppressed = false;
    recorder_->answer = YID_NO;
    for (const int answer : {YID_NO, YID_YES}) {  // then the default button, without asking
        EXPECT_EQ(YOptionalMessageBox(nullptr, u"Read-only.", YMB_YESNO, u"&Hide", suppressed),
                  answer);
        EXPECT_TRUE(suppressed);
    }
    ASSERT_EQ(recorder_->shown.size(), 1u);
    EXPECT_EQ(recorder_->shown[0].checkBoxText, u"&Hide");
}

class ConsoleMessageBoxTest : public MessageBoxTest {
protected:
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
    EXPECT_EQ(Show(u"Try again?", YMB_RETRYCANCEL, false), YID_CANCEL);
    EXPECT_EQ(Show(u"first\r\nsecond\rthird", YMB_OK, false), YID_OK);
    const std::string shown = output_.str();
    EXPECT_NE(shown.find("rivode: Delete the session?\n(Yes/No) No\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("rivode: first\nsecond\nthird\n"), std::string::npos) << shown;
}

TEST_F(ConsoleMessageBoxTest, TerminalAnswersDefaultsAndNonsense) {
    input_.str("yes\n n \nC\n\n\n\nmaybe\nperhaps\nwhat\nx\n");
    const std::pair<unsigned, int> questions[] = {
        {YMB_YESNO, YID_YES},
        {YMB_YESNO, YID_NO},
        {YMB_YESNOCANCEL, YID_CANCEL},
        {YMB_YESNO, YID_YES},                     // empty: the default button
        {YMB_YESNO | YMB_DEFBUTTON2, YID_NO},     // empty: the default button
        {YMB_OKCANCEL | YMB_DEFBUTTON3, YID_OK},  // a default beyond the buttons: the first
        {YMB_YESNO, YID_NO},                      // three nonsense answers: the safe answer
        {YMB_ABORTRETRYIGNORE, YID_ABORT},        // nonsense, then end of input
        {YMB_OKCANCEL, YID_CANCEL},               // end of input: the safe answer
    };
    for (std::size_t i = 0; i < std::size(questions); ++i) {
        EXPECT_EQ(Show(u"q", questions[i].first, true), questions[i].second) << "question " << i;
    }
}

TEST_F(ConsoleMessageBoxTest, AnswersInTheUsersLanguage) {
    YSetMessageStringLoader([](std::uint32_t id) -> YUnicodeString {
        return (id & 0xFFFF) == 0x0235 ? u"&Oui" : (id & 0xFFFF) == 0x0236 ? u"&Non" : u"";
    });
    input_.str("oui\nO\n");
    EXPECT_EQ(Show(u"q1", YMB_YESNO, true), YID_YES);
    EXPECT_EQ(Show(u"q2", YMB_YESNO, true), YID_YES);
    EXPECT_NE(output_.str().find("(Oui/Non) [Oui]"), std::string::npos);
}

}  // namespace
