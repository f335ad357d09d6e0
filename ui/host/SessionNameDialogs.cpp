#include "SessionNameDialogs.h"

#include <DavaraZE/YQtText.h>
#include <DavaraZE/YQtUserInterface.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionNameValidation.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace rivode::ui {
namespace {

// The name a session has before its user names it: a new item replaces it.
constexpr std::u16string_view kUnsavedSessionName = u"New";

// The width of the name field, in average characters: room for a long session name.
constexpr int kNameFieldCharacters = 40;

QString Message(std::uint32_t id) {
    return YToQString(LoadMessageString(id));
}

QWidget* Owner(const YDialog& dialog) {
    return dialog.GetWindow() != nullptr ? dialog.GetWindow() : dialog.GetParent();
}

void BuildNameForm(YDialog& dialog, QDialog& window) {
    auto& named = static_cast<SaveAdHocSessionDialogBase&>(dialog);
    window.setWindowTitle(YToQString(SaveAdHocSessionDialog::GetTitle()));
    auto* field = new QLineEdit(YToQString(named.GetSessionName()));
    field->setObjectName(QStringLiteral("name"));
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * kNameFieldCharacters);
    field->selectAll();
    QObject::connect(field, &QLineEdit::textChanged, &window,
                     [&named](const QString& text) { named.SetSessionName(YFromQString(text)); });
    auto* label = new QLabel(YToQString(SaveAdHocSessionDialog::GetNameLabel()));
    label->setBuddy(field);
    auto* form = new QFormLayout;
    form->addRow(label, field);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(Message(msg::ButtonOk), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("YID_OK"));
    ok->setDefault(true);
    buttons->addButton(Message(msg::ButtonCancel), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("YID_CANCEL"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);

    auto* layout = new QVBoxLayout(&window);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace

NewSessionNameDialog::NewSessionNameDialog(QWidget* parent, YUnicodeString folder)
    : SaveAdHocSessionDialog(parent, {}), folder_(std::move(folder)) {}

bool NewSessionNameDialog::OnInitDialog() {
    GetWindow()->setWindowTitle(Message(msg::GuiNewSessionTitle));
    return true;
}

void NewSessionNameDialog::OnOK() {
    // The rules take the folder with its separator ("Work\"), the top folder as empty.
    const YUnicodeString folder = folder_.empty() ? folder_ : folder_ + u'\\';
    if (ValidateSessionName(folder, YUnicodeString(kUnsavedSessionName), GetSessionName(), true,
                            Owner(*this))) {
        EndDialog(YID_OK);
    }
}

RenameItemDialog::RenameItemDialog(QWidget* parent, YUnicodeString path)
    : SaveAdHocSessionDialogBase(kRenameItemTemplateId, {}, parent), path_(std::move(path)) {
    const std::size_t separator = path_.rfind(u'\\');
    oldName_ = separator == YUnicodeString::npos ? path_ : path_.substr(separator + 1);
    SetSessionName(oldName_);
}

bool RenameItemDialog::OnInitDialog() {
    GetWindow()->setWindowTitle(Message(msg::GuiRenameTitle));
    return true;
}

void RenameItemDialog::OnOK() {
    if (ValidateSessionName(path_, oldName_, GetSessionName(), false, Owner(*this))) {
        EndDialog(YID_OK);
    }
}

void RegisterSessionNameForms() {
    YRegisterDialogForm(SaveAdHocSessionDialog::kTemplateId, BuildNameForm);
    YRegisterDialogForm(kRenameItemTemplateId, BuildNameForm);
}

}  // namespace rivode::ui
