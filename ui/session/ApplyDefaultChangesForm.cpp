// The question after the default session changed: every session, or the default session only.
// Its two buttons say what they do, so the choice needs no reading of OK and Cancel.
#include "ui/session/PageForm.h"
#include "ui/session/PageForms.h"

#include <RivodeRavudaVU/EditDefaultSession.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace rivode::ui {

void BuildApplyDefaultChangesForm(YDialog&, QDialog& window) {
    using Dialog = ApplyDefaultSessionChangesDialog;
    window.setWindowTitle(ToQ(Dialog::GetTitle()));
    auto* question = new QLabel(ToQ(Dialog::GetQuestion()));
    question->setWordWrap(true);
    auto* warning = new QLabel(ToQ(Dialog::GetWarning()));
    warning->setWordWrap(true);
    auto* buttons = new QDialogButtonBox;
    QPushButton* all =
        buttons->addButton(ToQ(Dialog::GetConfirmLabel()), QDialogButtonBox::AcceptRole);
    all->setObjectName(QStringLiteral("YID_OK"));
    QPushButton* only =
        buttons->addButton(ToQ(Dialog::GetCancelLabel()), QDialogButtonBox::RejectRole);
    only->setObjectName(QStringLiteral("YID_CANCEL"));
    // Changing every session cannot be undone: the safe answer is the one Enter gives.
    only->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(question);
    layout->addWidget(warning);
    layout->addWidget(buttons);
}

}  // namespace rivode::ui
