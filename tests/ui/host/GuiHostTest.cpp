#include "tests/support/TempFolder.h"
#include "tests/support/WindowLayoutRules.h"
#include "ui/host/GuiHostSetup.h"
#include "ui/host/GuiOptions.h"
#include "ui/host/Screenshot.h"
#include "ui/host/SessionsWindow.h"

#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/ProfileFolderData.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace rivode::test {
namespace {

TEST(GuiOptionsTest, CommandLinesAreReadOrRefused) {
    struct Case {
        std::vector<std::string> arguments;
        bool accepted;
        ui::GuiCommand command;
    };
    const Case cases[] = {
        {{"sessions"}, true, ui::GuiCommand::Sessions},
        {{"--config", "/srv/config/", "--screenshot", "s.png", "sessions"},
         true,
         ui::GuiCommand::Sessions},
        {{"--help", "whatever"}, true, ui::GuiCommand::Help},
        {{}, false, ui::GuiCommand::None},
        {{"sessions", "sessions"}, false, ui::GuiCommand::None},
        {{"sessions", "--screenshot"}, false, ui::GuiCommand::None},
        {{"--config", "", "sessions"}, false, ui::GuiCommand::None},
        {{"session", "Work\\Jump", "--page", "Log File"}, true, ui::GuiCommand::Session},
        {{"--page", "Emacs", "default"}, true, ui::GuiCommand::Default},
        {{"session"}, false, ui::GuiCommand::None},
        {{"sessions", "--page", "Emacs"}, false, ui::GuiCommand::None},
        {{"session", "Work\\Jump", "--map-key", "Ctrl-VK_A"}, true, ui::GuiCommand::Session},
        {{"default", "--map-key", "Ctrl-VK_A"}, false, ui::GuiCommand::None},
    };
    for (const Case& test : cases) {
        ui::GuiOptions options;
        std::string problem;
        EXPECT_EQ(ui::ParseGuiArguments(test.arguments, options, problem), test.accepted)
            << test.arguments.size() << " arguments: " << problem;
        if (test.accepted) {
            EXPECT_EQ(options.command, test.command);
        } else {
            EXPECT_FALSE(problem.empty());
        }
    }
    ui::GuiOptions options;
    std::string problem;
    ASSERT_TRUE(ui::ParseGuiArguments({"--config", "/srv/config/", "sessions"}, options, problem));
    EXPECT_EQ(options.configFolder, u"/srv/config");
}

class SessionsWindowTest : public ::testing::Test {
protected:
    SessionsWindowTest() {
        HostFolders folders;
        folders.main = FromUtf8(config_.Path());
        folders.source = HostFolderSource::CommandLine;
        ui::PrepareGuiHost(folders, ui::kGuiProduct);
    }
    ~SessionsWindowTest() override {
        YSetUserInterface(nullptr);
        RivodeRavudaVuCleanupForUnload();
    }

    TempFolder config_;
};

QStringList TopLevelNames(const QTreeWidget& tree) {
    QStringList names;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        names << tree.topLevelItem(i)->text(0);
    }
    return names;
}

TEST_F(SessionsWindowTest, ListsTheTreeInTheUsersOrderAndPassesTheLayoutRules) {
    ASSERT_TRUE(HaveFonts());
    SessionDatabaseImpl& sessions = *GetSessionDatabaseImpl();
    YReportMessageParams report;
    ASSERT_TRUE(sessions.CreateFolder(u"Work", report)) << ToUtf8(report.GetTextTrimmed());
    WriteFileBytes(config_ / "Sessions/zeta.ini", "\xEF\xBB\xBF");
    WriteFileBytes(config_ / "Sessions/alpha.ini", "\xEF\xBB\xBF");
    WriteFileBytes(config_ / "Sessions/Work/Jump.ini", "\xEF\xBB\xBF");
    ProfileFolderData order;
    ASSERT_TRUE(sessions.ListFolder(u"", order));
    order.SetSessions({u"zeta", u"alpha"});
    ASSERT_TRUE(sessions.SaveFolderOrder(u"", order, report)) << ToUtf8(report.GetTextTrimmed());

    ui::SessionsWindow window(sessions, QString::fromStdString(config_.Path()));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("sessionTree"));
    EXPECT_EQ(TopLevelNames(*tree), (QStringList{QStringLiteral("Work"), QStringLiteral("zeta"),
                                                 QStringLiteral("alpha")}));
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->data(0, ui::SessionsWindow::kPathRole).toString(),
              QStringLiteral("Work\\Jump"));
    EXPECT_TRUE(window.windowTitle().contains(QString::fromStdString(config_.Path())));
    for (const std::string& fault : CheckWindowLayout(window)) {
        ADD_FAILURE() << fault;
    }

    // The screenshot replaces a link at its name instead of writing through it.
    TempFolder output;
    WriteFileBytes(output / "target", "keep");
    ASSERT_EQ(symlink((output / "target").c_str(), (output / "shot.png").c_str()), 0);
    std::string problem;
    ASSERT_TRUE(ui::SaveScreenshot(window, output / "shot.png", problem)) << problem;
    EXPECT_EQ(ReadFileBytes(output / "shot.png").substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(ReadFileBytes(output / "target"), "keep");
    struct stat info {};
    ASSERT_EQ(lstat((output / "shot.png").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_FALSE(ui::SaveScreenshot(window, output / "missing/shot.png", problem));
    EXPECT_NE(problem.find("missing/shot.png"), std::string::npos);
}

}  // namespace
}  // namespace rivode::test
