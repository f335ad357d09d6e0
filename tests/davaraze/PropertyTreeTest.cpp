#include <DavaraZE/YListCtrl.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YPropertyTree.h>
#include <DavaraZE/YUserInterface.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Logs its hooks and refuses when told to.
class LoggingPage final : public YPropertyTreePage {
public:
    LoggingPage(const YUnicodeString& name, std::string& log)
        : YPropertyTreePage(100, name), log_(log) {}
    bool OnKillActive() override { return Log("kill") && !refuseKill; }
    bool OnOK() override { return Log("ok") && !refuseOk; }

    bool refuseKill = false;
    bool refuseOk = false;

private:
    bool Log(const char* hook) {
        log_ += rivode::ToUtf8(GetName()) + ":" + hook + " ";
        return true;
    }
    std::string& log_;
};

class PropertyTreeTest : public ::testing::Test {
protected:
    PropertyTreeTest() {
        dialog_.AddPage(&session_);
        session_.AddPage(&logon_);
        dialog_.AddPage(&terminal_);
        terminal_.AddPage(&emulation_);
    }

    std::string log_;
    YPropertyPageStateMap stateMap_;
    YPropertyTreeDialog dialog_{u"Session Options", 0, &stateMap_};
    LoggingPage session_{u"Connection", log_};
    LoggingPage logon_{u"Logon Actions", log_};
    LoggingPage terminal_{u"Terminal", log_};
    LoggingPage emulation_{u"Emulation", log_};
};

TEST_F(PropertyTreeTest, HiddenPagesAndTheirChildrenLeaveTheTree) {
    EXPECT_EQ(dialog_.GetShownPages(),
              (std::vector<YPropertyTreePage*>{&session_, &logon_, &terminal_, &emulation_}));
    dialog_.HidePage(&terminal_);
    EXPECT_EQ(dialog_.GetShownPages(), (std::vector<YPropertyTreePage*>{&session_, &logon_}));
    EXPECT_FALSE(dialog_.SetActivePage(&emulation_));
    dialog_.ShowPage(&terminal_);
    EXPECT_TRUE(dialog_.SetActivePage(&emulation_));
    dialog_.RemovePage(&terminal_);
    EXPECT_EQ(dialog_.GetActivePage(), nullptr);
    EXPECT_EQ(dialog_.GetShownPages().size(), 2u);
}

TEST_F(PropertyTreeTest, StateMapReopensTheLastPageShownAndKeepsTheFoldedBranches) {
    ASSERT_TRUE(dialog_.SetActivePage(&logon_));
    EXPECT_EQ(stateMap_.GetLastPage(), u"Connection\\Logon Actions");
    YPropertyTreeDialog reopened(u"Session Options", 0, &stateMap_);
    reopened.AddPage(&session_);
    EXPECT_EQ(reopened.GetInitialPage(), &logon_);
    reopened.HidePage(&logon_);
    EXPECT_EQ(reopened.GetInitialPage(), &session_);

    stateMap_.SetExpanded(u"Connection", false);
    EXPECT_FALSE(stateMap_.IsExpanded(u"CONNECTION"));
    EXPECT_TRUE(stateMap_.IsExpanded(u"Terminal"));
}

TEST_F(PropertyTreeTest, PagesThatRefuseKeepTheFocusAndStopOk) {
    ASSERT_TRUE(dialog_.SetActivePage(&session_));
    session_.refuseKill = true;
    EXPECT_FALSE(dialog_.SetActivePage(&terminal_));
    EXPECT_EQ(dialog_.GetActivePage(), &session_);
    EXPECT_EQ(stateMap_.GetLastPage(), u"Connection");
    session_.refuseKill = false;

    dialog_.HidePage(&emulation_);
    log_.clear();
    logon_.refuseOk = true;
    EXPECT_FALSE(dialog_.DoOnOK());
    EXPECT_EQ(log_, "Connection:kill Connection:ok Logon Actions:ok ");
    EXPECT_EQ(dialog_.GetActivePage(), &logon_);

    logon_.refuseOk = false;
    log_.clear();
    dialog_.OnOK();
    EXPECT_EQ(log_, "Logon Actions:kill Connection:ok Logon Actions:ok Terminal:ok ");
    EXPECT_TRUE(dialog_.IsEnded());
    EXPECT_EQ(dialog_.GetResult(), YID_OK);
}

TEST_F(PropertyTreeTest, DisabledOkOrNoWindowBackEndNeverAcceptsTheChanges) {
    emulation_.SetModified();
    EXPECT_TRUE(dialog_.IsModified());
    dialog_.DisableOkButton();
    dialog_.OnOK();
    EXPECT_FALSE(dialog_.IsEnded());
    dialog_.OnCancel();
    EXPECT_EQ(dialog_.GetResult(), YID_CANCEL);

    YSetUserInterface(YCreateSilentUserInterface());
    YPropertyTreeDialog another(u"Global Options", 0, nullptr);
    EXPECT_EQ(another.DoModal(), YID_CANCEL);
    YSetUserInterface(nullptr);
}

class ListCtrlTest : public ::testing::Test {
protected:
    ListCtrlTest() {
        for (const char16_t* text : {u"a", u"b", u"c", u"d"}) {
            list_.InsertItem(list_.GetItemCount(), text, list_.GetItemCount() + 10);
        }
    }
    std::u16string Order() const {
        std::u16string order;
        for (std::size_t i = 0; i < list_.GetItemCount(); ++i) {
            order += list_.GetItemText(i, 0);
        }
        return order;
    }

    YListCtrl list_;
};

TEST_F(ListCtrlTest, SelectedRowsMoveAndDeleteWithTheirData) {
    list_.SetSelected(1);
    list_.SetSelected(2);
    EXPECT_TRUE(list_.DoMoveSelected(true));
    EXPECT_EQ(Order(), u"bcad");
    EXPECT_FALSE(list_.DoMoveSelected(true)) << "already at the top";
    EXPECT_TRUE(list_.DoMoveSelected(false) && list_.DoMoveSelected(false));
    EXPECT_EQ(Order(), u"adbc");
    EXPECT_EQ(list_.GetItemData(2), 11u);
    EXPECT_FALSE(list_.CanMoveDown());

    list_.SetSelected(2, false);
    EXPECT_TRUE(list_.DoDelete());
    EXPECT_EQ(Order(), u"adb");
    EXPECT_EQ(list_.GetSelectedItems(), (std::vector<std::size_t>{2})) << "the row in its place";
    EXPECT_EQ(list_.FindItemData(12), YListCtrl::npos);
    EXPECT_TRUE(list_.SetItemText(0, 2, u"x")) << "columns grow on demand";
    EXPECT_EQ(list_.GetItemText(0, 1), u"");
    EXPECT_FALSE(list_.SetItemText(9, 0, u"y"));
}

}  // namespace
