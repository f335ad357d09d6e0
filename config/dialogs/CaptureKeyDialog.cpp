#include <RivodeRavudaVU/KeyMappingEditor.h>

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/KeyCodes.h>
#include <RivodeRavudaVU/RivodeMessages.h>

namespace msg = rivode::msg;

namespace {

constexpr unsigned kVkShift = 0x10;
constexpr unsigned kVkMenu = 0x12;  // Alt
constexpr unsigned kVkLeftWindows = 0x5B;
constexpr unsigned kVkRightWindows = 0x5C;
constexpr unsigned kScanCodeMask = 0xFF;

}  // namespace

CaptureKeyDialog::CaptureKeyDialog(QWidget* parent) : YDialog(kTemplateId, nullptr, parent) {}

YUnicodeString CaptureKeyDialog::GetTitle() {
    return LoadMessageString(msg::MapKeyTitle);
}

void CaptureKeyDialog::KeyDown(unsigned int virtualKey, unsigned int /*repeat*/,
                               unsigned int flags) {
    // A modifier alone is the start of a combination, not the key to map. The Windows keys are
    // one: key maps name them only as the Windows modifier of another key.
    if ((virtualKey >= kVkShift && virtualKey <= kVkMenu) || virtualKey == kVkLeftWindows ||
        virtualKey == kVkRightWindows) {
        return;
    }
    modifiers_ = held_ & (kKeyShift | kKeyCtrl | kKeyAlt | kKeyWindows);
    if ((flags & kExtendedFlag) != 0) {
        modifiers_ |= kKeyExtended;
    }
    scanCode_ = flags & kScanCodeMask;
    EndDialog(YID_OK);
}

bool LaunchCaptureKeyDialog(unsigned int& scanCode, unsigned int& modifiers, QWidget* parent) {
    CaptureKeyDialog dialog(parent);
    dialog.DoModal();
    scanCode = dialog.GetScanCode();
    modifiers = dialog.GetModifiers();
    return scanCode != 0;
}
