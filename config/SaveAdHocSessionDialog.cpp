#include <RivodeRavudaVU/SaveAdHocSessionDialog.h>

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/SessionNameValidation.h>

namespace msg = rivode::msg;

namespace {

// An ad-hoc session has no stored name to keep: the rules treat it as a new item replacing the
// placeholder name of an unsaved session.
constexpr std::u16string_view kUnsavedSessionName = u"New";

}  // namespace

SaveAdHocSessionDialogBase::SaveAdHocSessionDialogBase(unsigned templateId,
                                                       YUnicodeString initialName, QWidget* parent)
    : YDialog(templateId, nullptr, parent), name_(std::move(initialName)) {}

bool SaveAdHocSessionDialogBase::IsValid(const YUnicodeString& name, QWidget* parent) const {
    const bool exists = !name.empty() && GetSessionDatabaseImpl()->Exists(name);
    YReportMessageParams report;
    if (ValidateKeyName(YUnicodeString(kUnsavedSessionName), name, true,
                        LoadMessageString(msg::ItemKindSession), exists, report)) {
        return true;
    }
    YMessageBox(parent, report);
    return false;
}

void SaveAdHocSessionDialogBase::OnOK() {
    if (IsValid(name_, GetWindow() != nullptr ? GetWindow() : GetParent())) {
        EndDialog(YID_OK);
    }
}

SaveAdHocSessionDialog::SaveAdHocSessionDialog(QWidget* parent, YUnicodeString initialName)
    : SaveAdHocSessionDialogBase(kTemplateId, std::move(initialName), parent) {}

YUnicodeString SaveAdHocSessionDialog::GetTitle() {
    return LoadMessageString(msg::SaveSessionTitle);
}

YUnicodeString SaveAdHocSessionDialog::GetNameLabel() {
    return LoadMessageString(msg::SaveSessionNameLabel);
}
