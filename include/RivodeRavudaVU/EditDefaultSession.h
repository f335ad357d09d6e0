// The default-session editor: the Session Options dialog on the "Default" session, then the
// question whether the changes go to every stored session, then saving the default session.
//
// The Session Options dialog belongs to the user interface, above this library's configuration
// layer: the user interface registers the function that shows it (at GUI initialisation).
// User-interface thread only.
#pragma once

#include <DavaraZE/YDialog.h>
#include <RivodeRavudaVU/ISessionConfig.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

class GlobalConfig;
class QWidget;

// Shows the Session Options dialog modally and returns its result (YID_OK when the user
// confirmed). The arguments are those of the dialog: the global record, the session, the mode,
// the new-session flag, the skip-name-validation flag, the Emulation page's number, the Modes
// page's flag, the Appearance page's number, the Printing page's flag, the flag through which
// keyword pages report changed keyword lists, the product and the parent window.
using SessionOptionsDialogFunction = int (*)(GlobalConfig* global, ISessionConfig* session,
                                             int mode, bool newSession, bool skipNameValidation,
                                             int emulationValue, bool modesValue,
                                             int appearanceValue, bool printingValue,
                                             bool& keywordListsChanged, int product,
                                             QWidget* parent);

// The dialog mode that edits the default session.
inline constexpr int kSessionOptionsModeDefaultSession = 3;

// nullptr removes the registration; the editor then has nothing to show.
void RegisterSessionOptionsDialog(SessionOptionsDialogFunction show);
SessionOptionsDialogFunction GetSessionOptionsDialog();

// The question asked after the default session was changed: confirming (YID_OK, the button
// "Change &ALL sessions (no undo)") applies the changes to every session; cancelling (YID_CANCEL,
// "Change &Default session only") changes the default session alone. Back ends without windows
// cancel.
class ApplyDefaultSessionChangesDialog : public YDialog {
public:
    static constexpr unsigned kTemplateId = 11474;

    explicit ApplyDefaultSessionChangesDialog(QWidget* parent = nullptr);

    // The texts of its form, in the user's language.
    static YUnicodeString GetTitle();
    static YUnicodeString GetQuestion();
    static YUnicodeString GetWarning();
    static YUnicodeString GetConfirmLabel();
    static YUnicodeString GetCancelLabel();
};

// Edits the default session (created from defaults when none is stored). global: the global
// record the dialog shows beside the session; appearanceValue: passed to the Appearance page;
// product: the host's product; parent: the window of the dialog, the question and the report.
// allUpdated is set when the changes went to every session. Returns whether the default session
// was saved (false when the user cancelled, no dialog is registered, or the save failed, which is
// then shown).
bool EditDefaultSession(GlobalConfig* global, unsigned appearanceValue, int product,
                        QWidget* parent, bool& allUpdated);

#pragma GCC visibility pop
