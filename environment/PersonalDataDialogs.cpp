#include <RivodeRavudaVU/PersonalDataDialogs.h>

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YChoosers.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <utility>

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

PersonalDataFolderDialogBase::PersonalDataFolderDialogBase(YUnicodeString appName,
                                                           YUnicodeString proposed, QWidget* parent)
    : YDialog(kTemplateId, nullptr, parent),
      path(std::move(proposed)),
      appName_(std::move(appName)) {}

YUnicodeString PersonalDataFolderDialogBase::GetTitle() {
    return LoadMessageString(msg::PersonalDataFolderTitle);
}

YUnicodeString PersonalDataFolderDialogBase::GetText() const {
    YReportMessageParams text(msg::PersonalDataFolderNeeded);
    text.AddString(appName_);
    return text.GetTextTrimmed();
}

YUnicodeString PersonalDataFolderDialogBase::GetPrompt() {
    return LoadMessageString(msg::PersonalDataFolderPrompt);
}

YUnicodeString PersonalDataFolderDialogBase::GetCancelNote() {
    return LoadMessageString(msg::PersonalDataFolderCancelNote);
}

YUnicodeString PersonalDataFolderDialogBase::GetBrowseTitle() {
    return LoadMessageString(msg::SelectPersonalDataFolderTitle);
}

void PersonalDataFolderDialogBase::OnBrowse() {
    OnBrowseLocalFolderHelper(GetWindow(), GetBrowseTitle(), path);
}

void PersonalDataFolderDialogBase::OnOK() {
    if (CanOK()) {
        YDialog::OnOK();
    }
}

bool GetPersonalDataFolderAsk(const YUnicodeString& appName, YUnicodeString& path) {
    YUnicodeString proposed = GetAppPersonalDataPathStored(appName);
    if (proposed.empty()) {
        proposed = GetAppPersonalDataPathDefault(GetYwsConfigPathSub());
    }
    PersonalDataFolderDialogBase dialog(appName, proposed);
    if (dialog.DoModal() != YID_OK || dialog.GetPath().empty()) {
        return false;
    }
    path = dialog.GetPath();
    return true;
}
