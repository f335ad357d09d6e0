// "Map Key": takes the next key press of the application and turns it into the PC key it was.
#include "ui/session/PageForm.h"
#include "ui/session/PageForms.h"

#include <RivodeRavudaVU/KeyCodes.h>
#include <RivodeRavudaVU/KeyMappingEditor.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <array>

namespace rivode::ui {

namespace {

constexpr unsigned kVkShift = 0x10;
constexpr unsigned kVkControl = 0x11;
constexpr unsigned kVkMenu = 0x12;
constexpr unsigned kVkSnapshot = 0x2C;
constexpr unsigned kVkLeftWindows = 0x5B;
constexpr unsigned kVkRightWindows = 0x5C;

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
            return kVkControl;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return kVkMenu;
        // Qt names the Windows key Meta (and Super where the layout calls it so).
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
            return kVkLeftWindows;
        case Qt::Key_Super_R:
            return kVkRightWindows;
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
        if (key->key() == Qt::Key_AltGr && event->type() != QEvent::ShortcutOverride) {
            altGr_ = press;
        }
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
        held |= (modifiers & Qt::MetaModifier) != 0 ? kKeyWindows : 0;
        // Key maps know AltGr as Ctrl with Alt, the keys' third level: X11 reports it as a
        // modifier of its own, or not at all, so its key's press is remembered too.
        if (altGr_ || (modifiers & Qt::GroupSwitchModifier) != 0) {
            held |= kKeyCtrl | kKeyAlt;
        }
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
    bool altGr_ = false;
};

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
    QDialogButtonBox* buttons = DialogButtons(window, false);
    for (QAbstractButton* button : buttons->buttons()) {
        button->setFocusPolicy(Qt::NoFocus);
    }
    layout->addWidget(buttons);
    new KeyCapture(dialog, &window);
}

}  // namespace rivode::ui
