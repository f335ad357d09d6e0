// Physical key codes: PC set-1 make codes and Linux input codes, and the virtual key each
// position stands for on a PC keyboard.
#include "platform/KeyCodeTables.h"

#include "platform/Environment.h"
#include "platform/KeyboardLayout.h"

#include <array>

namespace rivode::platform {
namespace {

// Keys whose set-1 code carries the E0 prefix, with their Linux input codes. The plain keys
// (0x01-0x58) have the same number on both sides; these do not.
struct ExtendedKey {
    std::uint32_t scanCode;
    std::uint32_t evdev;
};
constexpr std::array<ExtendedKey, 19> kExtendedKeys = {{
    {0x1C, 96},   // keypad Enter
    {0x1D, 97},   // right Ctrl
    {0x35, 98},   // keypad /
    {0x37, 99},   // Print Screen
    {0x38, 100},  // right Alt
    {0x45, 69},   // Num Lock: sent with the extended flag, so that it differs from Pause
    {0x47, 102},  // Home
    {0x48, 103},  // Up
    {0x49, 104},  // Page Up
    {0x4B, 105},  // Left
    {0x4D, 106},  // Right
    {0x4F, 107},  // End
    {0x50, 108},  // Down
    {0x51, 109},  // Page Down
    {0x52, 110},  // Insert
    {0x53, 111},  // Delete
    {0x5B, 125},  // left Windows
    {0x5C, 126},  // right Windows
    {0x5D, 127},  // menu
}};
constexpr std::uint32_t kPauseEvdev = 119;  // Pause is 0x45 without the extended flag
constexpr std::uint32_t kNumLockScanCode = 0x45;
constexpr std::uint32_t kLastPlainScanCode = 0x58;

// The virtual key of each plain set-1 code on a PC keyboard (0: none).
constexpr std::array<std::uint8_t, kLastPlainScanCode + 1> kPlainVirtualKeys = {
    0,    0x1B, '1',  '2',  '3',  '4',  '5',  '6',  '7',  '8',  '9',  '0',  0xBD, 0xBB, 0x08,
    0x09, 'Q',  'W',  'E',  'R',  'T',  'Y',  'U',  'I',  'O',  'P',  0xDB, 0xDD, 0x0D, 0x11,
    'A',  'S',  'D',  'F',  'G',  'H',  'J',  'K',  'L',  0xBA, 0xDE, 0xC0, 0x10, 0xDC, 'Z',
    'X',  'C',  'V',  'B',  'N',  'M',  0xBC, 0xBE, 0xBF, 0x10, 0x6A, 0x12, 0x20, 0x14, 0x70,
    0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x13, 0x91, 0x24, 0x26, 0x21, 0x6D,
    0x25, 0x0C, 0x27, 0x6B, 0x23, 0x28, 0x22, 0x2D, 0x2E, 0,    0,    0xE2, 0x7A, 0x7B};

}  // namespace

std::uint32_t PositionVirtualKey(std::uint32_t scanCode, bool extended) {
    if (!extended) {
        return scanCode <= kLastPlainScanCode ? kPlainVirtualKeys[scanCode] : 0;
    }
    switch (scanCode) {
        case 0x1C:
            return 0x0D;
        case 0x1D:
            return 0x11;
        case 0x35:
            return 0x6F;
        case 0x37:
            return 0x2C;
        case 0x38:
            return 0x12;
        case 0x45:
            return 0x90;
        case 0x5B:
            return 0x5B;
        case 0x5C:
            return 0x5C;
        case 0x5D:
            return 0x5D;
        default:
            // The grey navigation keys stand for the same keys as their keypad twins.
            return scanCode >= 0x47 && scanCode <= 0x53 ? kPlainVirtualKeys[scanCode] : 0;
    }
}

bool ScanCodeToEvdev(std::uint32_t scanCode, bool extended, std::uint32_t& evdev) {
    if (!extended) {
        if (scanCode == kNumLockScanCode) {
            evdev = kPauseEvdev;
            return true;
        }
        evdev = scanCode;
        return scanCode != 0 && scanCode <= kLastPlainScanCode;
    }
    for (const ExtendedKey& key : kExtendedKeys) {
        if (key.scanCode == scanCode) {
            evdev = key.evdev;
            return true;
        }
    }
    return false;
}

bool EvdevToScanCode(std::uint32_t evdev, std::uint32_t& scanCode, bool& extended) {
    for (const ExtendedKey& key : kExtendedKeys) {
        if (key.evdev == evdev) {
            scanCode = key.scanCode;
            extended = true;
            return true;
        }
    }
    if (evdev == kPauseEvdev) {
        scanCode = kNumLockScanCode;
        extended = false;
        return true;
    }
    scanCode = evdev;
    extended = false;
    return evdev != 0 && evdev <= kLastPlainScanCode && evdev != 0x54 && evdev != 0x55;
}

KeyboardLayoutNames GetKeyboardLayoutNames() {
    const auto read = [](const char* name) {
        return GetEnvironmentVariable(name).value_or(std::string());
    };
    KeyboardLayoutNames names;
    names.rules = read("XKB_DEFAULT_RULES");
    names.model = read("XKB_DEFAULT_MODEL");
    names.layout = read("XKB_DEFAULT_LAYOUT");
    names.variant = read("XKB_DEFAULT_VARIANT");
    names.options = read("XKB_DEFAULT_OPTIONS");
    if (names.layout.empty()) {
        names.layout = "us";
        names.variant.clear();  // a variant belongs to the layout it was named with
    }
    return names;
}

}  // namespace rivode::platform
