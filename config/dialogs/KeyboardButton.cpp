#include <RivodeRavudaVU/KeyboardButton.h>

#include "platform/KeyboardLayout.h"

#include <cstdio>
#include <mutex>

namespace platform = rivode::platform;

namespace {

constexpr std::uint8_t kKeyDown = 0x80;
constexpr std::uint8_t kVkShift = 0x10;
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkMenu = 0x12;

KeyboardButton* selectedButton = nullptr;

// Where the user's layout comes from: an X server's live keymap once a host on X11 names its
// connection, else the environment's XKB names, else the US layout they default to, else none
// (no XKB data installed: keys then show their fixed labels).
struct UserLayoutSource {
    std::mutex mutex;
    xcb_connection_t* x11 = nullptr;
    std::shared_ptr<const platform::KeyboardLayout> layout;
    bool opened = false;
};

UserLayoutSource& LayoutSource() {
    static UserLayoutSource source;
    return source;
}

std::shared_ptr<const platform::KeyboardLayout> OpenUserLayout(xcb_connection_t* x11) {
    std::unique_ptr<platform::KeyboardLayout> layout;
    if (x11 != nullptr) {
        layout = platform::KeyboardLayout::OpenX11(x11);
    }
    if (layout == nullptr) {
        layout = platform::KeyboardLayout::Open(platform::GetKeyboardLayoutNames());
    }
    if (layout == nullptr) {
        platform::KeyboardLayoutNames us;
        us.layout = "us";
        layout = platform::KeyboardLayout::Open(us);
    }
    return layout;
}

std::shared_ptr<const platform::KeyboardLayout> UserLayout() {
    UserLayoutSource& source = LayoutSource();
    const std::lock_guard lock(source.mutex);
    if (!source.opened) {
        source.layout = OpenUserLayout(source.x11);
        source.opened = true;
    }
    return source.layout;
}

// The X server's keymap changes while the application runs (the user switches layouts): a new
// keyboard reads it again. Names from the environment cannot change, so they are read once.
void ForgetLiveLayout() {
    UserLayoutSource& source = LayoutSource();
    const std::lock_guard lock(source.mutex);
    if (source.x11 != nullptr) {
        source.opened = false;
    }
}

unsigned LayoutModifiers(int index) {
    unsigned modifiers = 0;
    modifiers |= (index & KeyboardButton::kCtrl) != 0 ? platform::kLayoutCtrl : 0;
    modifiers |= (index & KeyboardButton::kShift) != 0 ? platform::kLayoutShift : 0;
    modifiers |= (index & KeyboardButton::kAlt) != 0 ? platform::kLayoutAlt : 0;
    return modifiers;
}

// Control characters (and DEL) cannot be drawn on a key: they show as the octal escape a send
// string would use for them.
YUnicodeString Printable(const std::u16string& text) {
    YUnicodeString shown;
    for (const char16_t c : text) {
        if (c < 32 || c == 127) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned>(c));
            shown.append(octal, octal + 4);
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

bool IsLowerLetter(const YUnicodeString& text) {
    return text.size() == 1 && text[0] >= u'a' && text[0] <= u'z';
}

}  // namespace

KeyboardButton::KeyboardButton(std::uint32_t scanCode, bool extended, const YUnicodeString& label,
                               int labelSource, int fontKind)
    : scanCode_(scanCode),
      extended_(extended),
      fontKind_(fontKind),
      labelSource_(labelSource),
      label_(label) {
    const std::shared_ptr<const platform::KeyboardLayout> layout =
        scanCode != 0 ? UserLayout() : nullptr;
    const std::uint32_t virtualKey =
        layout != nullptr ? layout->GetVirtualKey(scanCode, extended) : 0;
    if (layout != nullptr && labelSource == 0) {
        const platform::KeyText typed = layout->GetKeyText(scanCode, extended, 0);
        if (!typed.dead && !typed.text.empty()) {
            label_ = IsLowerLetter(typed.text) ? YUnicodeString(1, typed.text[0] - u'a' + u'A')
                                               : Printable(typed.text);
        }
    }
    for (int index = 0; index < kStateCount; ++index) {
        KeyState& state = states_[static_cast<std::size_t>(index)];
        state.virtualKey = virtualKey;
        state.keyboardState[kVkControl] = (index & kCtrl) != 0 ? kKeyDown : 0;
        state.keyboardState[kVkShift] = (index & kShift) != 0 ? kKeyDown : 0;
        state.keyboardState[kVkMenu] = (index & kAlt) != 0 ? kKeyDown : 0;
        if ((index & kAlt) != 0 && (index & kCtrl) == 0) {
            // Alt alone makes the terminal send an escape before the key: the key keeps its name.
            state.text = label_;
            continue;
        }
        if (layout != nullptr) {
            const platform::KeyText typed =
                layout->GetKeyText(scanCode, extended, LayoutModifiers(index));
            state.text = typed.dead ? YUnicodeString() : Printable(typed.text);
        }
    }
}

KeyboardButton::~KeyboardButton() {
    if (selectedButton == this) {
        selectedButton = nullptr;
    }
}

void KeyboardButton::SetState(int state) {
    if (state != 0 && selectedButton != nullptr && selectedButton != this) {
        selectedButton->state_ = 0;
    }
    state_ = state != 0 ? 1 : 0;
    if (state_ != 0) {
        selectedButton = this;
    } else if (selectedButton == this) {
        selectedButton = nullptr;
    }
}

KeyboardButton* KeyboardButton::GetSelected() {
    return selectedButton;
}

YUnicodeString KeyboardButton::GetDisplayText(int index, bool& fallback) const {
    fallback = false;
    if (labelSource_ != 0) {
        return label_;
    }
    const KeyState& state = GetKeyState(index);
    if (!state.text.empty()) {
        return state.text;
    }
    fallback = true;
    return GetKeyState((index & kShift) != 0 ? kShift : kNone).text;
}

NumpadButton::NumpadButton(std::uint32_t scanCode, const YUnicodeString& label, int fontKind,
                           std::uint32_t numLockVirtualKey, std::size_t twinIndex)
    : KeyboardButton(scanCode, false, label, 1, fontKind),
      numLockVirtualKey_(numLockVirtualKey),
      twinIndex_(twinIndex) {}

namespace {

// Lays out a table: buttons made by make(cell) at their places.
template <typename Button, typename Make>
void LayOut(std::span<const KeyboardLayoutCell> cells,
            std::vector<std::unique_ptr<Button>>& buttons,
            std::vector<OnScreenKeyboard::Place>& places, int& width, int& height, Make make) {
    int x = 0;
    int y = 0;
    for (const KeyboardLayoutCell& cell : cells) {
        if (cell.label == kLayoutNewRow) {
            x = 0;
            y += cell.height;
            continue;
        }
        if (cell.label != kLayoutSpacer) {
            buttons.push_back(make(cell));
            places.push_back({x, y, cell.width, cell.height});
            height = std::max(height, y + cell.height);
        }
        x += cell.width;
        width = std::max(width, x);
    }
}

}  // namespace

OnScreenKeyboard::OnScreenKeyboard() {
    ForgetLiveLayout();
    LayOut(GetMainKeyboardLayout(), main_, mainPlaces_, width_, height_,
           [](const KeyboardLayoutCell& cell) {
               return std::make_unique<KeyboardButton>(cell.scanCode, cell.extended, cell.label,
                                                       cell.labelSource, cell.fontKind);
           });
    int ignored = 0;
    LayOut(GetModifierRowLayout(), modifiers_, modifierPlaces_, ignored, ignored,
           [](const KeyboardLayoutCell& cell) {
               return std::make_unique<KeyboardButton>(0, false, cell.label, 1, cell.fontKind);
           });
    for (const KeyboardLayoutCell& cell : GetNumpadOverlayLayout()) {
        for (std::size_t i = 0; i < main_.size(); ++i) {
            if (main_[i]->GetScanCode() == cell.scanCode && !main_[i]->IsExtended()) {
                numpad_.push_back(std::make_unique<NumpadButton>(
                    cell.scanCode, cell.label, cell.fontKind, cell.numLockVirtualKey, i));
                break;
            }
        }
    }
}

KeyboardButton& OnScreenKeyboard::GetMainButton(std::size_t index) const {
    if (numLock_) {
        for (const auto& digit : numpad_) {
            if (digit->GetTwinIndex() == index) {
                return *digit;
            }
        }
    }
    return *main_.at(index);
}

KeyboardButton* OnScreenKeyboard::FindByScanCode(std::uint32_t scanCode, bool extended) const {
    for (std::size_t i = 0; i < main_.size(); ++i) {
        if (main_[i]->GetScanCode() == scanCode && main_[i]->IsExtended() == extended) {
            return &GetMainButton(i);
        }
    }
    return nullptr;
}

KeyboardButton* OnScreenKeyboard::FindByVirtualKey(std::uint32_t virtualKey, bool extended) const {
    const std::uint32_t wanted = virtualKey & 0xFF;
    for (std::size_t i = 0; i < main_.size(); ++i) {
        if (main_[i]->GetVirtualKey() == wanted && main_[i]->IsExtended() == extended) {
            return main_[i].get();
        }
    }
    // A keypad digit mapped while NumLock was on.
    for (const auto& digit : numpad_) {
        if (digit->GetVirtualKey() == wanted && !extended) {
            return digit.get();
        }
    }
    return nullptr;
}

void UseX11KeyboardLayout(xcb_connection_t* connection) {
    UserLayoutSource& source = LayoutSource();
    const std::lock_guard lock(source.mutex);
    source.x11 = connection;
    source.opened = false;
}

bool NativeKeycodeToScanCode(std::uint32_t nativeKeycode, std::uint32_t& scanCode, bool& extended) {
    // X and Wayland key codes are the Linux input codes plus 8.
    constexpr std::uint32_t kXkbKeycodeOffset = 8;
    return nativeKeycode > kXkbKeycodeOffset &&
           platform::EvdevToScanCode(nativeKeycode - kXkbKeycodeOffset, scanCode, extended);
}
