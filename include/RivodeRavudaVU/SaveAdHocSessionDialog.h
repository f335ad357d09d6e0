// The "Save Session" dialog: one edit field "&Name:" in which the user names an ad-hoc session
// (one opened without being stored) to keep it among the stored sessions. The name goes into the
// top folder and follows the rules of every session name.
//
// SaveAdHocSessionDialogBase holds the logic; SaveAdHocSessionDialog binds it to its form.
// User-interface thread only.
#pragma once

#include <DavaraZE/YDialog.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

class QWidget;

class SaveAdHocSessionDialogBase : public YDialog {
public:
    SaveAdHocSessionDialogBase(unsigned templateId, YUnicodeString initialName, QWidget* parent);

    // The name in the edit field; the form sets it as the user types.
    const YUnicodeString& GetSessionName() const { return name_; }
    void SetSessionName(YUnicodeString name) { name_ = std::move(name); }

    // Whether name may be given to a new session of the top folder; the first failure is shown
    // over parent.
    bool IsValid(const YUnicodeString& name, QWidget* parent) const;

    // Ends the dialog with YID_OK only for a valid name.
    void OnOK() override;

private:
    YUnicodeString name_;
};

class SaveAdHocSessionDialog : public SaveAdHocSessionDialogBase {
public:
    static constexpr unsigned kTemplateId = 11475;

    SaveAdHocSessionDialog(QWidget* parent, YUnicodeString initialName);

    // The texts of its form, in the user's language.
    static YUnicodeString GetTitle();
    static YUnicodeString GetNameLabel();
};

#pragma GCC visibility pop
