#include <RivodeRavudaVU/PersonalDataDialogs.h>

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

namespace msg = rivode::msg;

MergeMigratePersonalDataDialogBase::MergeMigratePersonalDataDialogBase(Mode mode, QWidget* parent)
    : YDialog(kTemplateId, nullptr, parent), mode_(mode) {}

YUnicodeString MergeMigratePersonalDataDialogBase::GetTitle() const {
    return LoadMessageString(msg::PersonalDataLocationTitle);
}

YUnicodeString MergeMigratePersonalDataDialogBase::GetText() const {
    YReportMessageParams text(mode_ == Migrate ? msg::PersonalDataMigrationQuestion
                                               : msg::PersonalDataMergeQuestion);
    text.AddString(YGetAppName());
    return text.GetTextTrimmed();
}

YUnicodeString MergeMigratePersonalDataDialogBase::GetContinueLabel() {
    return LoadMessageString(msg::ContinueButton);
}

YUnicodeString MergeMigratePersonalDataDialogBase::GetPostponeLabel() {
    return LoadMessageString(msg::PostponeButton);
}

bool MergeMigratePersonalDataDialogBase::Ask() {
    return DoModal() == YID_OK;
}
