#include "tests/davaraze/qt/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace rivode::test {
namespace {

constexpr int kPollMilliseconds = 10;
constexpr int kGiveUpAfterPolls = 500;
constexpr int kCloseForgottenAfterMilliseconds = 5000;

void Poll(std::shared_ptr<std::function<void(QWidget&)>> act, int pollsLeft) {
    QWidget* window = QApplication::activeModalWidget();
    if (window != nullptr && window->isVisible()) {
        (*act)(*window);
        // A test whose steps failed half-way would leave the window waiting for ever.
        QTimer::singleShot(kCloseForgottenAfterMilliseconds, window,
                           [guard = QPointer<QWidget>(window)] {
                               if (guard && guard->isVisible()) {
                                   ADD_FAILURE() << "the window was left open; closing it";
                                   guard->close();
                                   if (auto* dialog = qobject_cast<QDialog*>(guard.data())) {
                                       dialog->done(0);
                                   }
                               }
                           });
        return;
    }
    if (pollsLeft > 0) {
        QTimer::singleShot(kPollMilliseconds, [act, pollsLeft] { Poll(act, pollsLeft - 1); });
    }
}

}  // namespace

void WhenModalShows(std::function<void(QWidget& window)> act) {
    auto shared = std::make_shared<std::function<void(QWidget&)>>(std::move(act));
    QTimer::singleShot(0, [shared] { Poll(shared, kGiveUpAfterPolls); });
}

void LetEventsRun(int milliseconds) {
    QTest::qWait(milliseconds);
}

void Press(QWidget& window, const char* button) {
    auto* pressed = window.findChild<QAbstractButton*>(QString::fromLatin1(button));
    ASSERT_NE(pressed, nullptr) << button;
    QTest::mouseClick(pressed, Qt::LeftButton);
}

}  // namespace rivode::test
