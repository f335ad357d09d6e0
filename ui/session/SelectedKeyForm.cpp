// "Map Selected Key": the combination, its function type with the controls of that type, and
// the keyboard the key is on.
#include "ui/session/KeyboardWidget.h"
#include "ui/session/PageForm.h"
#include "ui/session/PageForms.h"

#include <DavaraZE/YLabels.h>
#include <RivodeRavudaVU/KeyMappingEditor.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace rivode::ui {

namespace {

// The controls below the "Function" list, one panel per kind of row.
class SelectedKeyForm {
public:
    SelectedKeyForm(SelectedKeyDialogBase& dialog, QDialog& window)
        : dialog_(dialog), window_(window) {}

    void Build();

private:
    QWidget* BuildSendString();
    QWidget* BuildFunctionList();
    QWidget* BuildButtonBar();
    QWidget* BuildFile();
    void ShowRow(int row);

    SelectedKeyDialogBase& dialog_;
    QDialog& window_;
    QStackedWidget* panels_ = nullptr;
    QComboBox* functions_ = nullptr;
    bool filling_ = false;
    QLabel* fileLabel_ = nullptr;
    QLineEdit* file_ = nullptr;
    QLineEdit* arguments_ = nullptr;
};

QWidget* SelectedKeyForm::BuildSendString() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* edit = new QPlainTextEdit(ToQ(dialog_.GetSendString()));
    edit->setObjectName(QStringLiteral("sendString"));
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 4);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                     [this, edit] { dialog_.SetSendString(FromQ(edit->toPlainText())); });
    layout->addWidget(BuddyLabel(MessageText(msg::SendStringLabel), edit));
    layout->addWidget(edit);
    auto* note = new QLabel(MessageText(msg::SendStringNote));
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch();
    return panel;
}

QWidget* SelectedKeyForm::BuildFunctionList() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    functions_ = new QComboBox;
    functions_->setObjectName(QStringLiteral("functions"));
    functions_->setMaxVisibleItems(20);
    QObject::connect(functions_, &QComboBox::currentIndexChanged, functions_, [this](int index) {
        if (index >= 0 && !filling_) {
            (void)dialog_.SetFunctionValue(dialog_.GetRow(), functions_->itemData(index).toUInt());
        }
    });
    layout->addWidget(BuddyLabel(MessageText(msg::MappedFunctionLabel), functions_));
    layout->addWidget(functions_);
    layout->addStretch();
    return panel;
}

QWidget* SelectedKeyForm::BuildButtonBar() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bars = new QComboBox;
    bars->setObjectName(QStringLiteral("buttonBars"));
    for (const YUnicodeString& name : dialog_.GetButtonBarNames()) {
        bars->addItem(ToQ(name));
    }
    const int current = bars->findText(ToQ(dialog_.GetSetButtonBarValue()));
    bars->setCurrentIndex(current >= 0 ? current : 0);
    QObject::connect(bars, &QComboBox::currentTextChanged, bars,
                     [this](const QString& name) { dialog_.SetButtonBar(FromQ(name)); });
    layout->addWidget(BuddyLabel(MessageText(msg::MappedButtonBarLabel), bars));
    layout->addWidget(bars);
    layout->addStretch();
    return panel;
}

QWidget* SelectedKeyForm::BuildFile() {
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    file_ = new QLineEdit;
    file_->setObjectName(QStringLiteral("file"));
    arguments_ = new QLineEdit;
    arguments_->setObjectName(QStringLiteral("arguments"));
    QObject::connect(file_, &QLineEdit::textEdited, file_, [this](const QString& text) {
        (void)dialog_.SetFileName(dialog_.GetRow(), FromQ(text));
    });
    QObject::connect(arguments_, &QLineEdit::textEdited, arguments_, [this](const QString& text) {
        (void)dialog_.SetArguments(dialog_.GetRow(), FromQ(text));
    });
    const auto scriptRow = [this] {
        return dialog_.GetRow() == SelectedKeyDialogBase::kRunScriptRow;
    };
    auto* browse = new QPushButton(QStringLiteral("..."));
    browse->setToolTip(MessageText(msg::BrowseMappedFileTip));
    browse->setAccessibleName(browse->toolTip());
    QObject::connect(browse, &QPushButton::clicked, file_, [this, scriptRow] {
        if (dialog_.OnBrowse(&window_)) {
            file_->setText(
                ToQ(scriptRow() ? dialog_.GetScriptFileName() : dialog_.GetLaunchFileName()));
        }
    });
    fileLabel_ = BuddyLabel(MessageText(msg::MappedScriptLabel), file_);
    grid->addWidget(fileLabel_, 0, 0);
    grid->addWidget(file_, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(BuddyLabel(MessageText(msg::MappedArgumentsLabel), arguments_), 1, 0);
    grid->addWidget(arguments_, 1, 1, 1, 2);
    grid->setRowStretch(2, 1);
    return panel;
}

void SelectedKeyForm::ShowRow(int row) {
    (void)dialog_.SetRow(row);
    using Controls = SelectedKeyDialogBase::Controls;
    const Controls controls = SelectedKeyDialogBase::GetRowControls(row);
    panels_->setCurrentIndex(static_cast<int>(controls));
    if (controls == Controls::FunctionList) {
        // Filling the list is not a choice: the row keeps the code it had.
        filling_ = true;
        functions_->clear();
        for (const auto& [code, name] : SelectedKeyDialogBase::GetRowFunctions(row)) {
            functions_->addItem(ToQ(name), code);
        }
        const int current = functions_->findData(dialog_.GetFunctionValue(row));
        functions_->setCurrentIndex(current >= 0 ? current : 0);
        filling_ = false;
    } else if (controls == Controls::FileAndArguments) {
        const bool script = row == SelectedKeyDialogBase::kRunScriptRow;
        fileLabel_->setText(MessageText(script ? msg::MappedScriptLabel : msg::MappedProgramLabel));
        file_->setText(ToQ(script ? dialog_.GetScriptFileName() : dialog_.GetLaunchFileName()));
        arguments_->setText(
            ToQ(script ? dialog_.GetScriptArguments() : dialog_.GetLaunchArguments()));
    }
}

void SelectedKeyForm::Build() {
    window_.setWindowTitle(ToQ(SelectedKeyDialog::GetTitle()));
    auto* layout = new QVBoxLayout(&window_);
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(MessageText(msg::KeyCombinationLabel)), 0, 0);
    auto* combination = new QLabel(ToQ(dialog_.GetCombinationText()));
    combination->setObjectName(QStringLiteral("combination"));
    combination->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(combination, 0, 1);
    auto* types = new QComboBox;
    types->setObjectName(QStringLiteral("functionTypes"));
    for (std::size_t i = 0; i < GetMappedFunctionTypesSize(); ++i) {
        types->addItem(ToQ(GetMappedFunctionType(i)));
    }
    top->addWidget(BuddyLabel(MessageText(msg::MappedFunctionTypeLabel), types), 1, 0);
    top->addWidget(types, 1, 1);
    top->setColumnStretch(1, 1);
    layout->addLayout(top);

    if (OnScreenKeyboard* keyboard = dialog_.GetKeyboard()) {
        // The key on the keyboard, showing what each key types with the combination's
        // modifiers: the send string starts as what this key types.
        keyboard->SetModifierState(mapModifiers(dialog_.GetKey()));
        if (dialog_.GetButton() != nullptr) {
            dialog_.GetButton()->SetState(1);
        }
        auto* picture = new KeyboardWidget(*keyboard);
        picture->setObjectName(QStringLiteral("keyboard"));
        layout->addWidget(picture, 0, Qt::AlignHCenter);
    }

    panels_ = new QStackedWidget;
    panels_->addWidget(BuildSendString());
    panels_->addWidget(BuildFunctionList());
    panels_->addWidget(BuildButtonBar());
    panels_->addWidget(BuildFile());
    auto* nothing = new QLabel(MessageText(msg::MappedDisableNote));
    nothing->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panels_->addWidget(nothing);
    layout->addWidget(panels_);
    const int current = dialog_.GetRow();
    types->setCurrentIndex(current);
    ShowRow(current);
    QObject::connect(types, &QComboBox::currentIndexChanged, types,
                     [this](int row) { ShowRow(row); });
    layout->addWidget(DialogButtons(window_, true));
    types->setFocus();
}

}  // namespace

void BuildSelectedKeyForm(YDialog& base, QDialog& window) {
    auto& dialog = static_cast<SelectedKeyDialogBase&>(base);
    auto* form = new SelectedKeyForm(dialog, window);
    QObject::connect(&window, &QObject::destroyed, [form] { delete form; });
    form->Build();
}

}  // namespace rivode::ui
