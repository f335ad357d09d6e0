// The Qt window of a YDialog: OK and Cancel go through the dialog's hooks, and the window closes
// with the dialog's result once the dialog has ended, whoever ended it.
#pragma once

#include <QDialog>

class YDialog;

namespace davaraze::qt {

class DialogWindow : public QDialog {
public:
    DialogWindow(YDialog& dialog, QWidget* parent);
    ~DialogWindow() override;

    // OK pressed (or Enter): the dialog validates and ends, or keeps the window open.
    void accept() override;
    // Cancel, Escape or the close button.
    void reject() override;
    // Runs the window modally and returns the dialog's result.
    int Run();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void CloseIfEnded();

    YDialog& dialog_;
    int endWatch_ = 0;
};

}  // namespace davaraze::qt
