#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/davaraze/qt/ModalDriver.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowLayoutRules.h"
#include "tests/ui/GuiHostFixture.h"
#include "ui/host/GuiOptions.h"
#include "ui/host/RegistryPlacementStore.h"
#include "ui/host/Screenshot.h"
#include "ui/host/SessionOptionsCommand.h"
#include "ui/host/SessionsWindow.h"

#include <RivodeRavudaVU/ProfileFolderData.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

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

using SessionsWindowTest = GuiHostTest;

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

    ui::SessionsWindow window(sessions, nullptr, QString::fromStdString(config_.Path()));
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

// The tree as "Work(Jump Fresh) zeta alpha": names in order, a folder's children in brackets.
std::string Describe(const QTreeWidgetItem& item) {
    std::string text = item.text(0).toStdString();
    if (item.data(0, ui::SessionsWindow::kIsFolderRole).toBool()) {
        text += '(';
        for (int i = 0; i < item.childCount(); ++i) {
            text += (i > 0 ? " " : "") + Describe(*item.child(i));
        }
        text += ')';
    }
    return text;
}

std::string Describe(const QTreeWidget& tree) {
    std::string text;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        text += (i > 0 ? " " : "") + Describe(*tree.topLevelItem(i));
    }
    return text;
}

// The same text from the store, by the paths the window's items carry.
std::string DescribeStore(SessionDatabaseImpl& sessions, const YUnicodeString& path) {
    ProfileFolderData listing;
    if (!sessions.ListFolder(path, listing)) {
        return "?";
    }
    std::string text;
    const auto join = [&](const YUnicodeString& name) {
        return path.empty() ? name : path + u'\\' + name;
    };
    for (const YUnicodeString& folder : listing.GetFolders()) {
        text += (text.empty() ? "" : " ") + ToUtf8(folder) + "(" +
                DescribeStore(sessions, join(folder)) + ")";
    }
    for (const YUnicodeString& session : listing.GetSessions()) {
        EXPECT_TRUE(sessions.IsSession(join(session))) << ToUtf8(join(session));
        text += (text.empty() ? "" : " ") + ToUtf8(session);
    }
    return text;
}

QTreeWidgetItem* FindEntry(QTreeWidget& tree, const QString& path) {
    for (QTreeWidgetItemIterator item(&tree); *item != nullptr; ++item) {
        if ((*item)->data(0, ui::SessionsWindow::kPathRole).toString() == path) {
            return *item;
        }
    }
    return nullptr;
}

TEST_F(SessionsWindowTest, NewRenameAndDeleteLandInTheStoreAndRefusalsStoreNothing) {
    SessionDatabaseImpl& sessions = *GetSessionDatabaseImpl();
    YReportMessageParams report;
    ASSERT_TRUE(sessions.CreateFolder(u"Work", report)) << ToUtf8(report.GetTextTrimmed());
    for (const char* session : {"zeta", "alpha", "Work/Jump"}) {
        WriteFileBytes(config_ / ("Sessions/" + std::string(session) + ".ini"),
                       "\xEF\xBB\xBF"
                       R"(D:"Is Session"=00000001)"
                       "\r\n");
    }
    ProfileFolderData order;
    ASSERT_TRUE(sessions.ListFolder(u"", order));
    order.SetSessions({u"zeta", u"alpha"});
    ASSERT_TRUE(sessions.SaveFolderOrder(u"", order, report)) << ToUtf8(report.GetTextTrimmed());
    ui::SessionsWindow window(sessions, nullptr, QString::fromStdString(config_.Path()));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("sessionTree"));
    ASSERT_EQ(Describe(*tree), "Work(Jump) zeta alpha");

    // Each step acts on the window as it is after the steps before it. New sessions copy the
    // template of new sessions, which reading it does not store: no "Default" appears.
    struct Step {
        const char* what;
        const char* select;  // path of the entry selected first
        Qt::Key key;         // pressed in the tree
        Qt::KeyboardModifiers modifiers;
        const char* name;  // typed into the name question (nullptr: a Delete question)
        int answer;        // given to the message box the step shows, if any
        std::size_t messages;
        const char* tree;  // the window's tree and the store's afterwards
    };
    const Step steps[] = {
        {"a new session goes into the selected folder", "Work", Qt::Key_N, Qt::ControlModifier,
         "Fresh", YID_OK, 0, "Work(Jump Fresh) zeta alpha"},
        {"an illegal character is refused", "Work\\Jump", Qt::Key_N, Qt::ControlModifier, "a:b",
         YID_OK, 1, "Work(Jump Fresh) zeta alpha"},
        {"a name in use in the folder is refused", "Work\\Jump", Qt::Key_N, Qt::ControlModifier,
         "jump", YID_OK, 1, "Work(Jump Fresh) zeta alpha"},
        {"an empty name is refused", "alpha", Qt::Key_N, Qt::ControlModifier, "", YID_OK, 1,
         "Work(Jump Fresh) zeta alpha"},
        {"a new session beside a session of the top folder", "alpha", Qt::Key_N,
         Qt::ControlModifier, "beta", YID_OK, 0, "Work(Jump Fresh) zeta alpha beta"},
        {"F2 renames in place", "zeta", Qt::Key_F2, Qt::NoModifier, "omega", YID_OK, 0,
         "Work(Jump Fresh) omega alpha beta"},
        {"a rename to a name in use is refused", "omega", Qt::Key_F2, Qt::NoModifier, "Alpha",
         YID_OK, 1, "Work(Jump Fresh) omega alpha beta"},
        {"a rename of letter case only is taken", "omega", Qt::Key_F2, Qt::NoModifier, "Omega",
         YID_OK, 0, "Work(Jump Fresh) Omega alpha beta"},
        {"a folder renamed keeps its sessions", "Work", Qt::Key_F2, Qt::NoModifier, "Office",
         YID_OK, 0, "Office(Jump Fresh) Omega alpha beta"},
        {"Del asks first; No keeps the session", "alpha", Qt::Key_Delete, Qt::NoModifier, nullptr,
         YID_NO, 1, "Office(Jump Fresh) Omega alpha beta"},
        {"Yes deletes it", "alpha", Qt::Key_Delete, Qt::NoModifier, nullptr, YID_YES, 1,
         "Office(Jump Fresh) Omega beta"},
        {"a session of a renamed folder is deleted by its new path", "Office\\Fresh",
         Qt::Key_Delete, Qt::NoModifier, nullptr, YID_YES, 1, "Office(Jump) Omega beta"},
        {"a folder is deleted with everything in it", "Office", Qt::Key_Delete, Qt::NoModifier,
         nullptr, YID_YES, 1, "Omega beta"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        recorder_->messages.clear();
        recorder_->answer = step.answer;
        QTreeWidgetItem* entry = FindEntry(*tree, QString::fromLatin1(step.select));
        ASSERT_NE(entry, nullptr);
        tree->setCurrentItem(entry);
        // The question that closed last gave the activation back to the window.
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        tree->setFocus();
        bool stayedOpen = false;
        if (step.name != nullptr) {
            test::WhenModalShows([&](QWidget& dialog) {
                auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("name"));
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(field, Qt::Key_Delete);
                QTest::keyClicks(field, QString::fromLatin1(step.name));
                Press(dialog, "YID_OK");
                test::LetEventsRun();
                stayedOpen = dialog.isVisible();
                if (stayedOpen) {
                    Press(dialog, "YID_CANCEL");
                }
            });
        }
        QTest::keyClick(tree, step.key, step.modifiers);
        test::LetEventsRun();
        EXPECT_EQ(recorder_->messages.size(), step.messages);
        // A refused name leaves its question open, for the user to correct it.
        EXPECT_EQ(stayedOpen, step.name != nullptr && step.messages > 0);
        EXPECT_EQ(Describe(*tree), step.tree);
        EXPECT_EQ(DescribeStore(sessions, u""), step.tree);
    }
    // Enter and a double-click on a session open its Session Options over the window.
    std::string problem;
    ASSERT_TRUE(ui::LoadProtocolModules(problem)) << problem;
    for (const bool doubleClick : {false, true}) {
        QTreeWidgetItem* entry = FindEntry(*tree, QStringLiteral("beta"));
        tree->setCurrentItem(entry);
        QString title;
        test::WhenModalShows([&](QWidget& dialog) {
            title = dialog.windowTitle();
            Press(dialog, "YID_CANCEL");
        });
        if (doubleClick) {
            // A person's double-click: a click, then the second press that makes it double.
            const QPoint where = tree->visualItemRect(entry).center();
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, where);
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, where);
        } else {
            QTest::keyClick(tree, Qt::Key_Return);
        }
        test::LetEventsRun();
        EXPECT_TRUE(title.endsWith(QStringLiteral("beta")))
            << (doubleClick ? "double-click: " : "Enter: ") << title.toStdString();
    }
    // The window's items carry their stored paths: a fresh window lists the same tree.
    ui::SessionsWindow again(sessions, nullptr, QString::fromStdString(config_.Path()));
    EXPECT_EQ(Describe(*again.findChild<QTreeWidget*>(QStringLiteral("sessionTree"))),
              "Omega beta");
    EXPECT_EQ(FindEntry(*tree, QStringLiteral("Omega"))->data(0, ui::SessionsWindow::kPathRole),
              QStringLiteral("Omega"));
}

TEST_F(SessionsWindowTest, PlacementsOutliveTheProcessInTheUsersRegistry) {
    TempFolder registry;
    ScopedEnvironment environment;
    environment.Set("YARROWBY_REGISTRY", registry.Path().c_str());
    // The process goes back to no placement store however the test ends, before the variable
    // is restored.
    struct ForgetPlacementStore {
        ~ForgetPlacementStore() { YSetWindowPlacementStore(nullptr); }
    } forget;
    YSetWindowPlacementStore(std::make_shared<ui::RegistryPlacementStore>());
    QSize size;
    {
        ui::SessionsWindow window(*GetSessionDatabaseImpl(), nullptr, QStringLiteral("c"));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        size = window.size() + QSize(37, 23);
        window.resize(size);
        window.close();
    }
    // Another run reads what this one wrote: a store of its own, nothing kept in memory.
    YSetWindowPlacementStore(std::make_shared<ui::RegistryPlacementStore>());
    ui::SessionsWindow again(*GetSessionDatabaseImpl(), nullptr, QStringLiteral("c"));
    EXPECT_EQ(again.size(), size);
    std::string placement;
    EXPECT_FALSE(YGetWindowPlacementStore()->LoadPlacement(u"Never Shown", placement));
}

}  // namespace
}  // namespace rivode::test
