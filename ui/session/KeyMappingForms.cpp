// The key mapping editor's dialogs: "Map Key", which takes the next key press, and "Map Selected
// Key", which edits what one key combination does.
#include "ui/session/KeyboardWidget.h"
#include "ui/session/PageForm.h"
#include "ui/session/PageForms.h"

#include <DavaraZE/YLabels.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/KeyCodes.h>
#include <RivodeRavudaVU/KeyMappingEditor.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <array>

namespace rivode::ui {

namespace {

constexpr unsigned kVkShift = 0x10;
constexpr unsigned kVkControl = 0x11;
constexpr unsigned kVkMenu = 0x12;
constexpr unsigned kVkSnapshot = 0x2C;

struct QtKeyScanCode {
    int key;
    std::uint32_t scanCode;
    bool extended;
};
// Where a key event carries no native key code (the offscreen platform, some remote displays),
// the key's position comes from what Qt says it is. Navigation keys are the grey ones unless Qt
// marks them as the keypad's.
constexpr std::array<QtKeyScanCode, 39> kQtKeyScanCodes = {{
    {Qt::Key_Escape, 0x01, false},  {Qt::Key_Tab, 0x0F, false},
    {Qt::Key_Backtab, 0x0F, false}, {Qt::Key_Backspace, 0x0E, false},
    {Qt::Key_Return, 0x1C, false},  {Qt::Key_Enter, 0x1C, true},
    {Qt::Key_Space, 0x39, false},   {Qt::Key_Insert, 0x52, true},
    {Qt::Key_Delete, 0x53, true},   {Qt::Key_Home, 0x47, true},
    {Qt::Key_End, 0x4F, true},      {Qt::Key_PageUp, 0x49, true},
    {Qt::Key_PageDown, 0x51, true}, {Qt::Key_Left, 0x4B, true},
    {Qt::Key_Up, 0x48, true},       {Qt::Key_Right, 0x4D, true},
    {Qt::Key_Down, 0x50, true},     {Qt::Key_Print, 0x37, true},
    {Qt::Key_Pause, 0x45, false},   {Qt::Key_ScrollLock, 0x46, false},
    {Qt::Key_NumLock, 0x45, true},  {Qt::Key_Shift, 0x2A, false},
    {Qt::Key_Control, 0x1D, false}, {Qt::Key_Alt, 0x38, false},
    {Qt::Key_F1, 0x3B, false},      {Qt::Key_F2, 0x3C, false},
    {Qt::Key_F3, 0x3D, false},      {Qt::Key_F4, 0x3E, false},
    {Qt::Key_F5, 0x3F, false},      {Qt::Key_F6, 0x40, false},
    {Qt::Key_F7, 0x41, false},      {Qt::Key_F8, 0x42, false},
    {Qt::Key_F9, 0x43, false},      {Qt::Key_F10, 0x44, false},
    {Qt::Key_F11, 0x57, false},     {Qt::Key_F12, 0x58, false},
    {Qt::Key_Minus, 0x0C, false},   {Qt::Key_Equal, 0x0D, false},
    {Qt::Key_Clear, 0x4C, false},
}};

bool ScanCodeOfQtKey(const QKeyEvent& event, std::uint32_t& scanCode, bool& extended) {
    const int key = event.key();
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        scanCode = 0x02 + static_cast<std::uint32_t>(key - Qt::Key_1);
        extended = false;
        return true;
    }
    if (key == Qt::Key_0) {
        scanCode = 0x0B;
        extended = false;
        return true;
    }
    // The letters by their place on a PC keyboard's rows.
    static constexpr std::array<std::pair<const char*, std::uint32_t>, 3> kRows = {
        {{"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E}, {"ZXCVBNM", 0x2C}}};
    for (const auto& [letters, first] : kRows) {
        for (std::uint32_t i = 0; letters[i] != '\0'; ++i) {
            if (key == letters[i]) {
                scanCode = first + i;
                extended = false;
                return true;
            }
        }
    }
    for (const QtKeyScanCode& entry : kQtKeyScanCodes) {
        if (entry.key == key) {
            scanCode = entry.scanCode;
            extended = entry.extended && key != Qt::Key_Enter
                           ? (event.modifiers() & Qt::KeypadModifier) == 0
                           : entry.extended;
            return true;
        }
    }
    return false;
}

unsigned VirtualKeyOfQtKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
            return kVkShift;
        case Qt::Key_Control:
        case Qt::Key_Meta:
            return kVkControl;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return kVkMenu;
        case Qt::Key_Print:
            return kVkSnapshot;
        default:
            // Only the modifiers' virtual keys matter to the capture; the key's own comes from
            // the on-screen keyboard once its scan code is known.
            return 0;
    }
}

// Takes every key press (and Print Screen's release, which some systems send alone) of the
// application while "Map Key" is open, before any widget can use it as a shortcut.
class KeyCapture : public QObject {
public:
    KeyCapture(CaptureKeyDialog& dialog, QObject* owner) : QObject(owner), dialog_(dialog) {
        qApp->installEventFilter(this);
    }
    ~KeyCapture() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool press = event->type() == QEvent::KeyPress;
        const bool release = event->type() == QEvent::KeyRelease;
        if (!press && !release && event->type() != QEvent::ShortcutOverride) {
            return QObject::eventFilter(watched, event);
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if (dialog_.IsEnded() || (release && key->key() != Qt::Key_Print)) {
            return press || release;
        }
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();  // no shortcut fires; the press follows
            return true;
        }
        std::uint32_t scanCode = 0;
        bool extended = false;
        if (!NativeKeycodeToScanCode(key->nativeScanCode(), scanCode, extended) &&
            !ScanCodeOfQtKey(*key, scanCode, extended)) {
            return true;  // a key no PC keyboard has: keep waiting
        }
        std::uint32_t held = 0;
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        held |= (modifiers & Qt::ShiftModifier) != 0 ? kKeyShift : 0;
        held |= (modifiers & Qt::ControlModifier) != 0 ? kKeyCtrl : 0;
        held |= (modifiers & Qt::AltModifier) != 0 ? kKeyAlt : 0;
        dialog_.SetHeldModifiers(held);
        dialog_.SetNumLockDigit((modifiers & Qt::KeypadModifier) != 0 &&
                                ((key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9) ||
                                 key->key() == Qt::Key_Period || key->key() == Qt::Key_Comma));
        dialog_.KeyDown(VirtualKeyOfQtKey(key->key()), key->isAutoRepeat() ? 2 : 1,
                        scanCode | (extended ? CaptureKeyDialog::kExtendedFlag : 0));
        return true;
    }

private:
    CaptureKeyDialog& dialog_;
};

QDialogButtonBox* OkCancelButtons(QDialog& window, bool withOk) {
    auto* buttons = new QDialogButtonBox;
    if (withOk) {
        buttons->addButton(MessageText(msg::ButtonOk), QDialogButtonBox::AcceptRole)
            ->setObjectName(QStringLiteral("YID_OK"));
    }
    QPushButton* cancel =
        buttons->addButton(MessageText(msg::ButtonCancel), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("YID_CANCEL"));
    cancel->setFocusPolicy(withOk ? Qt::StrongFocus : Qt::NoFocus);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    return buttons;
}

}  // namespace

void BuildCaptureKeyForm(YDialog& base, QDialog& window) {
    auto& dialog = static_cast<CaptureKeyDialog&>(base);
    window.setWindowTitle(ToQ(CaptureKeyDialog::GetTitle()));
    auto* layout = new QVBoxLayout(&window);
    auto* prompt = new QLabel(MessageText(msg::MapKeyPrompt));
    prompt->setWordWrap(true);
    prompt->setMinimumWidth(prompt->fontMetrics().averageCharWidth() * 40);
    layout->addWidget(prompt);
    auto* waiting = new QLabel(MessageText(msg::MapKeyWaiting));
    waiting->setAlignment(Qt::AlignCenter);
    layout->addWidget(waiting);
    // Cancel is clicked, never pressed: every key goes to the capture.
    layout->addWidget(OkCancelButtons(window, false));
    new KeyCapture(dialog, &window);
}

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
    auto* edit = new QPlainTextEdit(ToQ(dialog_.sendString));
    edit->setObjectName(QStringLiteral("sendString"));
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 4);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                     [this, edit] { dialog_.sendString = FromQ(edit->toPlainText()); });
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
            dialog_.functionCodes[static_cast<std::size_t>(dialog_.row)] =
                functions_->itemData(index).toUInt();
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
    const int current = bars->findText(ToQ(dialog_.buttonBar));
    bars->setCurrentIndex(current >= 0 ? current : 0);
    QObject::connect(bars, &QComboBox::currentTextChanged, bars,
                     [this](const QString& name) { dialog_.buttonBar = FromQ(name); });
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
    const auto scriptRow = [this] { return dialog_.row == SelectedKeyDialogBase::kRunScriptRow; };
    QObject::connect(file_, &QLineEdit::textEdited, file_, [this, scriptRow](const QString& text) {
        (scriptRow() ? dialog_.scriptFileName : dialog_.launchProgram) = FromQ(text);
    });
    QObject::connect(
        arguments_, &QLineEdit::textEdited, arguments_, [this, scriptRow](const QString& text) {
            (scriptRow() ? dialog_.scriptArguments : dialog_.launchArguments) = FromQ(text);
        });
    auto* browse = new QPushButton(QStringLiteral("..."));
    browse->setToolTip(MessageText(msg::BrowseMappedFileTip));
    browse->setAccessibleName(browse->toolTip());
    QObject::connect(browse, &QPushButton::clicked, file_, [this, scriptRow] {
        if (dialog_.OnBrowse(&window_)) {
            file_->setText(ToQ(scriptRow() ? dialog_.scriptFileName : dialog_.launchProgram));
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
    dialog_.row = row;
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
        const int current =
            functions_->findData(dialog_.functionCodes[static_cast<std::size_t>(row)]);
        functions_->setCurrentIndex(current >= 0 ? current : 0);
        filling_ = false;
    } else if (controls == Controls::FileAndArguments) {
        const bool script = row == SelectedKeyDialogBase::kRunScriptRow;
        fileLabel_->setText(MessageText(script ? msg::MappedScriptLabel : msg::MappedProgramLabel));
        file_->setText(ToQ(script ? dialog_.scriptFileName : dialog_.launchProgram));
        arguments_->setText(ToQ(script ? dialog_.scriptArguments : dialog_.launchArguments));
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
    types->setCurrentIndex(dialog_.row);
    ShowRow(dialog_.row);
    QObject::connect(types, &QComboBox::currentIndexChanged, types,
                     [this](int row) { ShowRow(row); });
    layout->addWidget(OkCancelButtons(window_, true));
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
