// The user-interface back end behind message boxes, progress windows, dialogs and choosers.
//
// The host chooses one at initialisation: the Qt half registers its own when the host has a
// window system; the console back end serves hosts that run in a terminal (and is the one in
// use until another is set); the silent back end shows nothing and answers every question with
// its safe default, for services and tests.
#pragma once

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <iosfwd>
#include <memory>

#pragma GCC visibility push(default)

class QWidget;
class YProgressDialog;
class YDialog;
struct YFileDialogRequest;
struct YFolderRequest;

struct YMessageBoxRequest {
    QWidget* parent = nullptr;
    YUnicodeString text;
    YUnicodeString caption;  // never empty when it reaches a back end
    unsigned style = YMB_OK;
    // Set for the optional message box: the check box's label and the flag it sets.
    YUnicodeString checkBoxText;
    bool* suppressed = nullptr;
};

class YUserInterface {
public:
    virtual ~YUserInterface() = default;

    // Shows the message and returns one of the style's buttons.
    virtual int ShowMessageBox(const YMessageBoxRequest& request) = 0;

    // Shows the progress window on the calling thread until progress.PostClose is called (from
    // any thread); returns the result given to PostClose.
    virtual int RunProgress(YProgressDialog& progress) = 0;

    // Runs a dialog modally and returns how it ended. Back ends without windows cannot show
    // one: YID_CANCEL.
    virtual int RunDialog(YDialog& dialog);

    // Asks for a file or a folder; false when the user cancels or there is nobody to ask.
    virtual bool ChooseFile(const YFileDialogRequest& request, YUnicodeString& path);
    virtual bool ChooseFolder(const YFolderRequest& request, YUnicodeString& folder);
    // Runs the certificate creation dialog; false when cancelled or unavailable.
    virtual bool CreateCertificate(QWidget* parent, YUnicodeString& path);
};

// Replaces the back end (nullptr returns to the console one). Call at initialisation, before
// other threads use it; the previous back end lives on as long as a caller still holds it.
void YSetUserInterface(std::shared_ptr<YUserInterface> userInterface);
std::shared_ptr<YUserInterface> YGetUserInterface();

// Messages on standard error; questions asked on the terminal when standard input is one,
// otherwise answered with the safe default; a progress line when standard error is a terminal.
std::shared_ptr<YUserInterface> YCreateConsoleUserInterface();
// The same over given streams, told whether a person is at each end.
std::shared_ptr<YUserInterface> YCreateConsoleUserInterface(std::istream& input,
                                                            std::ostream& output,
                                                            bool inputIsTerminal,
                                                            bool outputIsTerminal);
// Nothing shown; every question gets its safe default; progress waits for its close.
std::shared_ptr<YUserInterface> YCreateSilentUserInterface();

#pragma GCC visibility pop
