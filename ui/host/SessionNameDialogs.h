// The name questions of the sessions window: the name of a new session (the Save Session dialog,
// validated for the folder it goes into) and the new name of a session or folder. Both refuse a
// name the session name rules refuse, with the rule's message, and stay open until the name is
// valid or the user cancels. User-interface thread only.
#pragma once

#include <RivodeRavudaVU/SaveAdHocSessionDialog.h>

namespace rivode::ui {

// Template ids of rivode-gui's own dialogs, outside the library's range.
inline constexpr unsigned kRenameItemTemplateId = 61701;

class NewSessionNameDialog : public SaveAdHocSessionDialog {
public:
    // folder: the path of the folder the session goes into (empty: the top folder).
    NewSessionNameDialog(QWidget* parent, YUnicodeString folder);
    bool OnInitDialog() override;
    void OnOK() override;

private:
    YUnicodeString folder_;
};

class RenameItemDialog : public SaveAdHocSessionDialogBase {
public:
    // path: the session or folder renamed ("Work\Server"); the name field starts with its name.
    RenameItemDialog(QWidget* parent, YUnicodeString path);
    bool OnInitDialog() override;
    void OnOK() override;

private:
    YUnicodeString path_;
    YUnicodeString oldName_;
};

// Binds both dialogs (and the library's Save Session dialog) to their one-field form. Called
// once after the Qt user interface is registered.
void RegisterSessionNameForms();

}  // namespace rivode::ui
