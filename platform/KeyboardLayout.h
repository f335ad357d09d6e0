// The user's keyboard layout: which virtual key a physical key is, and which text it types under
// each combination of Ctrl, Shift and Alt. Physical keys are named by their PC set-1 make code
// and extended flag (the key codes stored key maps are built from).
//
// The layout comes from an X server's live keymap (OpenX11: what setxkbmap or the desktop's
// settings chose, in the layout the user has switched to), or is compiled from XKB names: the
// environment's XKB_DEFAULT_RULES, _MODEL, _LAYOUT, _VARIANT and _OPTIONS (the names Wayland
// compositors and xkbcommon clients read), layout "us" when none is set.
//
// A KeyboardLayout is used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#pragma GCC visibility push(default)

struct xcb_connection_t;

namespace rivode::platform {

// The modifier state of a layout query: Ctrl 1, Shift 2, Alt 4 (0-7).
inline constexpr unsigned kLayoutCtrl = 1;
inline constexpr unsigned kLayoutShift = 2;
inline constexpr unsigned kLayoutAlt = 4;

struct KeyboardLayoutNames {
    std::string rules;
    std::string model;
    std::string layout;
    std::string variant;
    std::string options;
};

// The names from the environment; layout "us" when XKB_DEFAULT_LAYOUT is unset or empty.
KeyboardLayoutNames GetKeyboardLayoutNames();

struct KeyText {
    std::u16string text;  // empty for a key that types nothing
    bool dead = false;    // a dead key: it types nothing itself, it accents the next key
};

class KeyboardLayout {
public:
    // nullptr when the names do not make a layout (an unknown layout or variant, no XKB data).
    static std::unique_ptr<KeyboardLayout> Open(const KeyboardLayoutNames& names);
    // The core keyboard's keymap of the X server on connection (not owned, used only during the
    // call); nullptr when the server has no keyboard extension or no keymap could be read.
    static std::unique_ptr<KeyboardLayout> OpenX11(xcb_connection_t* connection);
    virtual ~KeyboardLayout() = default;

    // The virtual-key code of the key: letters by what the layout's unshifted key types (the
    // key that types "a" on an AZERTY layout is 'A'), every other key by its position. 0 for a
    // scan code that is no key.
    virtual std::uint32_t GetVirtualKey(std::uint32_t scanCode, bool extended) const = 0;
    // The text the key types with modifiers (kLayoutCtrl | kLayoutShift | kLayoutAlt); Ctrl
    // turns letters and the brackets into control characters, as a terminal receives them.
    // Ctrl with Alt is AltGr: the key's third level (its fourth with Shift), empty for a key
    // that has none.
    virtual KeyText GetKeyText(std::uint32_t scanCode, bool extended, unsigned modifiers) const = 0;
};

// Linux input (evdev) key codes, which X and Wayland key events carry plus 8. false for a key
// that has no code on the other side.
bool ScanCodeToEvdev(std::uint32_t scanCode, bool extended, std::uint32_t& evdev);
bool EvdevToScanCode(std::uint32_t evdev, std::uint32_t& scanCode, bool& extended);

}  // namespace rivode::platform

#pragma GCC visibility pop
