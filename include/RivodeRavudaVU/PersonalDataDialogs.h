// "Personal Data Location": the question asked at start-up before a pending migration or merge
// of personal data. Continue moves the data now; Postpone leaves the pending flag set, so the
// next start asks again. The window binds to it by the template id.
#pragma once

#include <DavaraZE/YDialog.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>

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
