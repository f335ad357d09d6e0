// Message boxes and progress windows of the Qt back end, answered with the keyboard and mouse.
#include "tests/davaraze/qt/ModalDriver.h"

#include <DavaraZE/YProgressDialog.h>
#include <DavaraZE/YQtUserInterface.h>
#include <RivodeRavudaVU/YMessageTable.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace rivode::test {
namespace {

class QtMessageWindowsTest : public ::testing::Test {
protected:
    QtMessageWindowsTest() { YSetUserInterface(YCreateQtUserInterface()); }
    ~QtMessageWindowsTest() override {
        YSetUserInterface(nullptr);
        SetMessageLanguage(0);
    }
};

QAbstractButton* Button(QWidget& window, const char* objectName) {
    return window.findChild<QAbstractButton*>(QString::fromLatin1(objectName));
}

// What a person does to a message box, and the answer it must give.
struct BoxCase {
    const char* what;
    unsigned style;
    std::function<void(QWidget&)> act;
    int expected;
};

TEST_F(QtMessageWindowsTest, MessageBoxAnswersWhatThePersonChose) {
    const BoxCase cases[] = {
        {"click No", YMB_YESNO,
         [](QWidget& box) { QTest::mouseClick(Button(box, "YID_NO"), Qt::LeftButton); }, YID_NO},
        {"Escape is Cancel", YMB_OKCANCEL,
         [](QWidget& box) { QTest::keyClick(&box, Qt::Key_Escape); }, YID_CANCEL},
        {"Enter takes the second button when it is the default", YMB_YESNOCANCEL | YMB_DEFBUTTON2,
         [](QWidget& box) { QTest::keyClick(&box, Qt::Key_Return); }, YID_NO},
        {"the mnemonic presses its button", YMB_RETRYCANCEL,
         [](QWidget& box) {
             QApplication::setActiveWindow(&box);
             QTest::keyClick(&box, Qt::Key_R, Qt::AltModifier);
         },
         YID_RETRY},
        {"Escape on a lone OK is OK", YMB_OK | YMB_ICONWARNING,
         [](QWidget& box) { QTest::keyClick(&box, Qt::Key_Escape); }, YID_OK},
    };
    for (const BoxCase& test : cases) {
        WhenModalShows(test.act);
        EXPECT_EQ(YMessageBox(u"Save the session?", test.style), test.expected) << test.what;
    }
}

TEST_F(QtMessageWindowsTest, MessageBoxShowsTextCaptionAndIcon) {
    WhenModalShows([](QWidget& window) {
        auto& box = dynamic_cast<QMessageBox&>(window);
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Caption"));
        EXPECT_EQ(box.text(), QStringLiteral("Line one\nLine two"));
        EXPECT_EQ(box.icon(), QMessageBox::Warning);
        EXPECT_EQ(box.buttons().size(), 2);
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    YMessageBox(u"Line one\nLine two", YMB_OKCANCEL | YMB_ICONWARNING, u"Caption");
}

TEST_F(QtMessageWindowsTest, TickedCheckBoxSuppressesTheOptionalMessage) {
    bool suppressed = false;
    WhenModalShows([](QWidget& box) {
        auto* check = box.findChild<QCheckBox*>(QStringLiteral("suppress"));
        ASSERT_NE(check, nullptr);
        EXPECT_EQ(check->text(), QStringLiteral("&Do not display this message again"));
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(2, check->height() / 2));
        QTest::mouseClick(Button(box, "YID_YES"), Qt::LeftButton);
    });
    EXPECT_EQ(YOptionalMessageBox(nullptr, u"Apply to all sessions?", YMB_YESNO,
                                  u"&Do not display this message again", suppressed),
              YID_YES);
    EXPECT_TRUE(suppressed);

    // Unticked, the question keeps being asked.
    bool notSuppressed = false;
    WhenModalShows([](QWidget& box) { QTest::mouseClick(Button(box, "YID_NO"), Qt::LeftButton); });
    EXPECT_EQ(YOptionalMessageBox(nullptr, u"Apply?", YMB_YESNO, u"&Do not ask", notSuppressed),
              YID_NO);
    EXPECT_FALSE(notSuppressed);
}

TEST_F(QtMessageWindowsTest, ButtonsSpeakFrenchUnderThatLanguage) {
    SetMessageLanguage(kMessageLanguageFrenchCanada);
    WhenModalShows([](QWidget& box) {
        EXPECT_EQ(Button(box, "YID_YES")->text(), QStringLiteral("&Oui"));
        EXPECT_EQ(Button(box, "YID_NO")->text(), QStringLiteral("&Non"));
        EXPECT_EQ(Button(box, "YID_CANCEL")->text(), QStringLiteral("Annuler"));
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(YMessageBox(u"?", YMB_YESNOCANCEL), YID_CANCEL);
}

// The worker updates the window and closes it from its own thread; the person's Escape does
// not cut the work short.
TEST_F(QtMessageWindowsTest, ProgressWindowFollowsItsWorkerAndClosesFromIt) {
    YProgressDialog progress(u"Title", 2, nullptr);
    std::atomic<bool> escapePressed{false};
    QString shownLine;
    WhenModalShows([&](QWidget& window) {
        QTest::keyClick(&window, Qt::Key_Escape);
        LetEventsRun();
        EXPECT_TRUE(window.isVisible()) << "Escape closed a progress window";
        escapePressed = true;
        // Wait for the worker's line to show, then let the worker close the window.
        for (int i = 0; i < 200 && shownLine.isEmpty(); ++i) {
            LetEventsRun(10);
            shownLine = window.findChild<QLabel*>(QStringLiteral("line1"))->text();
        }
    });
    std::thread worker([&] {
        while (!escapePressed) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        progress.SetLine(1, u"Copying Work\\Jump");
        progress.SetProgress(3, 4);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        progress.PostClose(42);
    });
    EXPECT_EQ(progress.DoModal(), 42);
    worker.join();
    EXPECT_EQ(shownLine, QStringLiteral("Copying Work\\Jump"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace rivode::test
