// "Personal Data Location": the question asked at start-up before a pending migration or merge
// of personal data. Continue moves the data now; Postpone leaves the pending flag set, so the
// next start asks again. The window binds to it by the template id.
#pragma once

#include <DavaraZE/YDialog.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>

#pragma GCC visibility push(default)

class MergeMigratePersonalDataDialogBase : public YDialog {
public:
    static constexpr unsigned kTemplateId = 11610;
    enum Mode { Migrate = 0, Merge = 1 };

    explicit MergeMigratePersonalDataDialogBase(Mode mode, QWidget* parent = nullptr);

    Mode GetMode() const { return mode_; }
    YUnicodeString GetTitle() const;
    // The question with the application's name filled in.
    YUnicodeString GetText() const;
    // The labels of the OK button ("&Continue") and the Cancel button ("&Postpone").
    static YUnicodeString GetContinueLabel();
    static YUnicodeString GetPostponeLabel();

    // Shows the dialog; true when Continue was chosen. Back ends without windows postpone.
    bool Ask();

private:
    Mode mode_;
};

// "Personal Data Folder": asks where personal data is to be kept when it is stored separately.
// Cancel means it is not stored separately. The window binds to it by the template id.
class PersonalDataFolderDialogBase : public YDialog {
public:
    static constexpr unsigned kTemplateId = 11611;

    // proposed fills the path field when the dialog opens.
    PersonalDataFolderDialogBase(YUnicodeString appName, YUnicodeString proposed,
                                 QWidget* parent = nullptr);

    static YUnicodeString GetTitle();
    // "<application> needs to set a folder ...".
    YUnicodeString GetText() const;
    static YUnicodeString GetPrompt();
    static YUnicodeString GetCancelNote();
    static YUnicodeString GetBrowseTitle();

    // The browse button: a folder chooser starting at the field's folder; a choice replaces it.
    void OnBrowse();
    // OK needs a folder in the field.
    bool CanOK() const { return !path.empty(); }
    void OnOK() override;
    const YUnicodeString& GetPath() const { return path; }

    // The path field.
    YUnicodeString path;

private:
    YUnicodeString appName_;
};

// Shows "Personal Data Folder" proposing the application's stored personal-data folder, else
// the default beside the configuration folder in use. true with the chosen folder on OK.
[[nodiscard]] bool GetPersonalDataFolderAsk(const YUnicodeString& appName, YUnicodeString& path);

#pragma GCC visibility pop
