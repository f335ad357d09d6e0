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

TEST_F(ProgressDialogTest, TheFirstCloseEndsTheModalRunEvenBeforeItStarts) {
    YSetUserInterface(YCreateSilentUserInterface());
    YProgressDialog progress(u"Migrating personal data.");
    std::thread worker([&] {
        progress.SetProgress(5, 10);
        progress.PostClose(42);
        progress.PostClose(7);  // a second close changes nothing
    });
    EXPECT_EQ(progress.DoModal(), 42);
    worker.join();

    auto early = Create7LineProgressDialog(u"Export");
    early->PostClose(YID_CANCEL);
    EXPECT_EQ(early->DoModal(), YID_CANCEL);
    EXPECT_EQ(early->GetState().lines.size(), 7u);

    // Lines beyond the window and unchanged texts are no change.
    const std::uint64_t before = progress.GetState().generation;
    progress.SetLine(3, u"nowhere");
    progress.SetLine(0, u"Migrating personal data.");
    EXPECT_EQ(progress.GetState().generation, before);
    progress.SetText(u"another");
    EXPECT_EQ(progress.GetState().lines, YStringArray{u"another"});
}

TEST_F(ProgressDialogTest, ConsoleDrawsALineOnlyOnATerminalAndClearsIt) {
    for (const bool terminal : {true, false}) {
        std::istringstream input;
        std::ostringstream output;
        YSetUserInterface(YCreateConsoleUserInterface(input, output, false, terminal));
        YProgressDialog progress(u"Re-encrypting");
        progress.SetProgress(1, 4);
        std::thread worker([&] {
            progress.WaitForChange(progress.GetState().generation, std::chrono::milliseconds(50));
            progress.PostClose();
        });
        EXPECT_EQ(progress.DoModal(), YID_OK);
        worker.join();
        const std::string drawn = output.str();
        if (terminal) {
            EXPECT_NE(drawn.find("Re-encrypting 25%"), std::string::npos) << drawn;
            EXPECT_TRUE(drawn.ends_with("\r\x1b[K")) << drawn;
        } else {
            EXPECT_EQ(drawn, "");
        }
    }
}

}  // namespace
