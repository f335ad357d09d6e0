#include <DavaraZE/YDialog.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YUserInterface.h>

YDialog::YDialog(unsigned templateId, const void* resourceModule, QWidget* parent)
    : templateId_(templateId), resourceModule_(resourceModule), parent_(parent) {}

YDialog::~YDialog() = default;

int YDialog::DoModal() {
    result_ = 0;
    ended_ = false;
    PreModal();
    const int result = YGetUserInterface()->RunDialog(*this);
    return ended_ ? result_ : result;
}

bool YDialog::Create(QWidget* parent) {
    if (parent != nullptr) {
        parent_ = parent;
    }
    return false;  // modeless windows need a window back end, which overrides this
}

void YDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
}

void YDialog::OnOK() {
    EndDialog(YID_OK);
}

void YDialog::OnCancel() {
    EndDialog(YID_CANCEL);
}
