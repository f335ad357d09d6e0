// The on-screen keyboard's key model: one KeyboardButton per physical key of a PC keyboard, with
// its PC set-1 scan code, its label and, for each of the eight combinations of Ctrl (1), Shift
// (2) and Alt (4), the virtual key it is and the text it types in the user's keyboard layout.
// The key mapping editor turns a captured scan code into a key code with it and shows a key's
// default text; hosts draw a clickable keyboard from the same objects.
//
// The buttons are built from three layout tables (the main block, the modifier row, and the
// keypad digits with NumLock on). A table cell is a key, or one of two layout tokens: "SPACER"
// (an empty gap of the cell's width) and "NEWROW" (the next row starts the cell's height lower).
// Sizes are dialog units. User-interface thread only.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#pragma GCC visibility push(default)

struct xcb_connection_t;

struct KeyboardLayoutCell {
    const char16_t* label;
    int width;
    int height;
    std::uint32_t scanCode;
    bool extended;
    int labelSource;                      // 1: the label is fixed; 0: the keyboard layout gives it
    int fontKind;                         // 1: small "Modern", 2: "Modern", 3: a symbol glyph
    std::uint32_t numLockVirtualKey = 0;  // the keypad overlay: the key with NumLock on
};

inline constexpr std::u16string_view kLayoutSpacer = u"SPACER";
inline constexpr std::u16string_view kLayoutNewRow = u"NEWROW";

std::span<const KeyboardLayoutCell> GetMainKeyboardLayout();
std::span<const KeyboardLayoutCell> GetModifierRowLayout();
std::span<const KeyboardLayoutCell> GetNumpadOverlayLayout();

class KeyboardButton {
public:
    enum Modifier { kNone = 0, kCtrl = 1, kShift = 2, kAlt = 4 };
    static constexpr int kStateCount = 8;
    struct KeyState {
        std::array<std::uint8_t, 256> keyboardState{};  // the pressed modifiers at 0x80
        std::uint32_t virtualKey = 0;
        // The text typed: a control character as a backslash and three octal digits ("\033");
        // empty for a dead key and for keys that type nothing. Ctrl with Alt is AltGr: the text
        // of the key's third level (its fourth with Shift), empty for a key that has none.
        YUnicodeString text;
    };

    // Asks the user's keyboard layout for the eight key states.
    KeyboardButton(std::uint32_t scanCode, bool extended, const YUnicodeString& label,
                   int labelSource, int fontKind);
    virtual ~KeyboardButton();
    KeyboardButton(const KeyboardButton&) = delete;
    KeyboardButton& operator=(const KeyboardButton&) = delete;

    // 1 selects the button (the one selected before goes back to 0), 0 clears it.
    void SetState(int state);
    int state() const { return state_; }

    std::uint32_t GetScanCode() const { return scanCode_; }
    bool IsExtended() const { return extended_; }
    const YUnicodeString& GetLabel() const { return label_; }
    int GetLabelSource() const { return labelSource_; }
    int GetFontKind() const { return fontKind_; }
    const KeyState& GetKeyState(int index) const {
        return states_[static_cast<std::size_t>(index & 7)];
    }
    // The virtual key the button stands for (a keypad digit's NumLock-on key for its overlay).
    virtual std::uint32_t GetVirtualKey() const { return states_[0].virtualKey; }
    // What the button shows in modifier state index: the fixed label, the text of that state, or
    // when it types nothing there, the shifted (indexes 2, 3, 6, 7) or unshifted text, marked as
    // a fallback so it can be drawn in a second colour.
    YUnicodeString GetDisplayText(int index, bool& fallback) const;

    // The button selected now, nullptr when none.
    static KeyboardButton* GetSelected();

private:
    int state_ = 0;
    std::uint32_t scanCode_;
    bool extended_;
    int fontKind_;
    int labelSource_;
    std::array<KeyState, kStateCount> states_;
    YUnicodeString label_;
};

class NumpadButton : public KeyboardButton {
public:
    NumpadButton(std::uint32_t scanCode, const YUnicodeString& label, int fontKind,
                 std::uint32_t numLockVirtualKey, std::size_t twinIndex);
    std::uint32_t GetVirtualKey() const override { return numLockVirtualKey_; }
    std::size_t GetTwinIndex() const { return twinIndex_; }

private:
    std::uint32_t numLockVirtualKey_;
    std::size_t twinIndex_;  // the main-block button of the same scan code
};

// The keyboard the editor shows: the buttons of the three tables with their places, and the
// modifier state index every button draws.
class OnScreenKeyboard {
public:
    struct Place {
        int x = 0, y = 0, width = 0, height = 0;
    };
    OnScreenKeyboard();

    std::size_t GetMainCount() const { return main_.size(); }
    // The main-block button at index, or its NumLock-on twin when NumLock is on.
    KeyboardButton& GetMainButton(std::size_t index) const;
    const Place& GetMainPlace(std::size_t index) const { return mainPlaces_[index]; }
    std::size_t GetModifierCount() const { return modifiers_.size(); }
    KeyboardButton& GetModifierButton(std::size_t index) const { return *modifiers_[index]; }
    const Place& GetModifierPlace(std::size_t index) const { return modifierPlaces_[index]; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }

    // The keypad digits stand for VK_NUMPAD0-9 and the decimal point while NumLock is on.
    void SetNumLock(bool on) { numLock_ = on; }
    bool IsNumLock() const { return numLock_; }
    // The first main-block button with the scan code and extended flag; nullptr when none.
    KeyboardButton* FindByScanCode(std::uint32_t scanCode, bool extended) const;
    // The main-block button of the virtual key (low 8 bits) and extended flag; nullptr when none.
    KeyboardButton* FindByVirtualKey(std::uint32_t virtualKey, bool extended) const;

    int GetModifierState() const { return modifierState_; }
    void SetModifierState(int index) { modifierState_ = index & 7; }

private:
    std::vector<std::unique_ptr<KeyboardButton>> main_;
    std::vector<Place> mainPlaces_;
    std::vector<std::unique_ptr<NumpadButton>> numpad_;
    std::vector<std::unique_ptr<KeyboardButton>> modifiers_;
    std::vector<Place> modifierPlaces_;
    int width_ = 0;
    int height_ = 0;
    int modifierState_ = 0;
    bool numLock_ = false;
};

// The keys' texts follow the X server's live keymap (read again for each OnScreenKeyboard, in
// the layout the user has switched to) once a host on X11 names its connection here; the
// connection must stay open while keyboards are made. nullptr, or a server whose keymap cannot be
// read, leaves the environment's XKB names (XKB_DEFAULT_LAYOUT, ...), else the US layout.
void UseX11KeyboardLayout(xcb_connection_t* connection);

// The PC set-1 scan code and extended flag of a key event's native key code (X and Wayland:
// the Linux input code plus 8). false for a key without one.
bool NativeKeycodeToScanCode(std::uint32_t nativeKeycode, std::uint32_t& scanCode, bool& extended);

#pragma GCC visibility pop
