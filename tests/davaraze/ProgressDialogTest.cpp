#include <DavaraZE/YProgressDialog.h>
#include <DavaraZE/YUserInterface.h>

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

namespace {

class ProgressDialogTest : public ::testing::Test {
protected:
    void TearDown() override { YSetUserInterface(nullptr); }
};

TEST_F(ProgressDialogTest, WorkerCloseEndsTheModalRun) {
    YSetUserInterface(YCreateSilentUserInterface());
    YProgressDialog progress(u"Migrating personal data.");
    std::thread worker([&] {
        progress.SetProgress(5, 10);
        progress.PostClose(42);
        progress.PostClose(7);  // a second close changes nothing
    });
    EXPECT_EQ(progress.DoModal(), 42);
    worker.join();
}

TEST_F(ProgressDialogTest, CloseBeforeShowingReturnsAtOnce) {
    YSetUserInterface(YCreateSilentUserInterface());
    auto progress = Create7LineProgressDialog(u"Export");
    progress->PostClose(YID_CANCEL);
    EXPECT_EQ(progress->DoModal(), YID_CANCEL);
    EXPECT_EQ(progress->GetState().lines.size(), 7u);
}

TEST_F(ProgressDialogTest, LinesBeyondTheWindowAreIgnored) {
    YProgressDialog progress(u"one line");
    const std::uint64_t before = progress.GetState().generation;
    progress.SetLine(3, u"nowhere");
    progress.SetLine(0, u"one line");  // unchanged text is no change
    EXPECT_EQ(progress.GetState().generation, before);
    progress.SetText(u"another");
    EXPECT_EQ(progress.GetState().lines, YStringArray{u"another"});
}

TEST_F(ProgressDialogTest, ConsoleDrawsALineOnATerminalAndClearsIt) {
    std::istringstream input;
    std::ostringstream terminal;
    YSetUserInterface(YCreateConsoleUserInterface(input, terminal, false, true));
    YProgressDialog progress(u"Re-encrypting");
    progress.SetProgress(1, 4);
    std::thread worker([&] {
        progress.WaitForChange(progress.GetState().generation, std::chrono::milliseconds(50));
        progress.PostClose();
    });
    EXPECT_EQ(progress.DoModal(), YID_OK);
    worker.join();
    const std::string drawn = terminal.str();
    EXPECT_NE(drawn.find("Re-encrypting 25%"), std::string::npos);
    EXPECT_EQ(drawn.substr(drawn.size() - 4), "\r\x1b[K");
}

TEST_F(ProgressDialogTest, ConsoleDrawsNothingWithoutATerminal) {
    std::istringstream input;
    std::ostringstream log;
    YSetUserInterface(YCreateConsoleUserInterface(input, log, false, false));
    YProgressDialog progress(u"Importing");
    std::thread worker([&] { progress.PostClose(); });
    progress.DoModal();
    worker.join();
    EXPECT_TRUE(log.str().empty());
}

}  // namespace
