#include "davaraze/qt/DialogWindow.h"

#include "davaraze/qt/WindowPlacement.h"

#include <DavaraZE/YDialog.h>
#include <DavaraZE/YMessageBox.h>

#include <QTimerEvent>

namespace davaraze::qt {

namespace {
// A page or a panel may end the dialog from any of its own handlers (a double-click in a list);
// the window notices within this time.
constexpr int kEndWatchMilliseconds = 30;
}  // namespace

DialogWindow::DialogWindow(YDialog& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {
    dialog_.SetWindow(this);
}

DialogWindow::~DialogWindow() {
    dialog_.SetWindow(nullptr);
}

void DialogWindow::accept() {
    dialog_.OnOK();
    CloseIfEnded();
}

void DialogWindow::reject() {
    dialog_.OnCancel();
    CloseIfEnded();
}

int DialogWindow::Run() {
    RestorePlacement(*this, dialog_.GetPlacementName());
    if (dialog_.IsEnded()) {
        return dialog_.GetResult();
    }
    endWatch_ = startTimer(kEndWatchMilliseconds);
    exec();
    killTimer(endWatch_);
    KeepPlacement(*this, dialog_.GetPlacementName());
    return dialog_.IsEnded() ? dialog_.GetResult() : YID_CANCEL;
}

void DialogWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() == endWatch_) {
        CloseIfEnded();
        return;
    }
    QDialog::timerEvent(event);
}

void DialogWindow::CloseIfEnded() {
    if (dialog_.IsEnded() && isVisible()) {
        done(dialog_.GetResult());
    }
}

}  // namespace davaraze::qt
