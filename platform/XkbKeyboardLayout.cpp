// The keyboard layout compiled by libxkbcommon, from XKB names or from an X server's keymap.
#include "platform/KeyCodeTables.h"
#include "platform/KeyboardLayout.h"
#include "platform/Utf8Codec.h"

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace rivode::platform {
namespace {

// X and Wayland number keys from 8 upwards; evdev codes from 1.
constexpr std::uint32_t kXkbKeycodeOffset = 8;
constexpr xkb_keysym_t kFirstDeadKeysym = 0xFE50;  // XKB_KEY_dead_grave
constexpr xkb_keysym_t kLastDeadKeysym = 0xFE8F;   // the end of the dead-key block

struct ContextDeleter {
    void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct KeymapDeleter {
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};
struct StateDeleter {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};

const char* OrNull(const std::string& name) {
    return name.empty() ? nullptr : name.c_str();
}

// The modifiers the layout's level-three key (AltGr) sets; 0 when no key of the layout chooses
// the third level.
xkb_mod_mask_t LevelThreeModifiers(xkb_keymap* keymap) {
    struct Search {
        xkb_keycode_t key = XKB_KEYCODE_INVALID;
    } search;
    xkb_keymap_key_for_each(
        keymap,
        [](xkb_keymap* map, xkb_keycode_t key, void* data) {
            auto& found = *static_cast<Search*>(data);
            const xkb_keysym_t* symbols = nullptr;
            if (found.key == XKB_KEYCODE_INVALID &&
                xkb_keymap_key_get_syms_by_level(map, key, 0, 0, &symbols) > 0 &&
                symbols[0] == XKB_KEY_ISO_Level3_Shift) {
                found.key = key;
            }
        },
        &search);
    if (search.key == XKB_KEYCODE_INVALID) {
        return 0;
    }
    // Which modifier the key sets is the keymap's own business (Mod5 on most): press it and see.
    std::unique_ptr<xkb_state, StateDeleter> pressed(xkb_state_new(keymap));
    if (pressed == nullptr) {
        return 0;
    }
    xkb_state_update_key(pressed.get(), search.key, XKB_KEY_DOWN);
    return xkb_state_serialize_mods(pressed.get(), XKB_STATE_MODS_DEPRESSED);
}

class XkbKeyboardLayout : public KeyboardLayout {
public:
    // group: the layout of the keymap's groups that keys are read in (the one the user has
    // switched to, for a live keymap).
    XkbKeyboardLayout(std::unique_ptr<xkb_context, ContextDeleter> context,
                      std::unique_ptr<xkb_keymap, KeymapDeleter> keymap,
                      xkb_layout_index_t group = 0)
        : context_(std::move(context)),
          keymap_(std::move(keymap)),
          state_(xkb_state_new(keymap_.get())),
          group_(group) {
        ctrl_ = ModifierBit(XKB_MOD_NAME_CTRL);
        shift_ = ModifierBit(XKB_MOD_NAME_SHIFT);
        alt_ = ModifierBit(XKB_MOD_NAME_ALT);
        levelThree_ = LevelThreeModifiers(keymap_.get());
    }

    bool IsUsable() const { return state_ != nullptr; }

    std::uint32_t GetVirtualKey(std::uint32_t scanCode, bool extended) const override {
        const std::uint32_t position = PositionVirtualKey(scanCode, extended);
        if (position == 0 || extended) {
            return position;
        }
        // Letters follow the layout, so that a mapping made for Ctrl+A is on the key that types
        // "a"; the other keys keep their position, which every layout shares.
        const xkb_keysym_t symbol = Symbol(scanCode, extended, 0);
        if (symbol >= 'a' && symbol <= 'z') {
            return symbol - 'a' + 'A';
        }
        if (symbol >= 'A' && symbol <= 'Z') {
            return symbol;
        }
        return position;
    }

    KeyText GetKeyText(std::uint32_t scanCode, bool extended, unsigned modifiers) const override {
        KeyText result;
        std::uint32_t evdev = 0;
        if (!ScanCodeToEvdev(scanCode, extended, evdev)) {
            return result;
        }
        // Each query sets the whole modifier state, and dead keys are resolved by a compose
        // table this layout does not use, so no earlier query can leave an accent pending.
        const xkb_keycode_t keycode = evdev + kXkbKeycodeOffset;
        if ((modifiers & (kLayoutCtrl | kLayoutAlt)) == (kLayoutCtrl | kLayoutAlt)) {
            // Ctrl with Alt is how key maps name AltGr: the key's third level (fourth with
            // Shift). A key without one types nothing, as it does not with AltGr.
            const xkb_mod_mask_t shift = (modifiers & kLayoutShift) != 0 ? shift_ : 0;
            if (levelThree_ == 0 || Level(keycode, shift | levelThree_) == Level(keycode, shift)) {
                return result;
            }
            SetMask(shift | levelThree_);
        } else {
            SetModifiers(modifiers);
        }
        const xkb_keysym_t symbol = xkb_state_key_get_one_sym(state_.get(), keycode);
        if (symbol >= kFirstDeadKeysym && symbol <= kLastDeadKeysym) {
            result.dead = true;
            return result;
        }
        const char32_t character = xkb_state_key_get_utf32(state_.get(), keycode);
        if (character != 0 && character <= 0x10FFFF && !IsSurrogate(character)) {
            char16_t units[2] = {};
            result.text.assign(units, PutUtf16(character, units));
        }
        return result;
    }

private:
    xkb_mod_mask_t ModifierBit(const char* name) const {
        const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap_.get(), name);
        return index == XKB_MOD_INVALID ? 0 : xkb_mod_mask_t{1} << index;
    }

    void SetModifiers(unsigned modifiers) const {
        xkb_mod_mask_t mask = 0;
        mask |= (modifiers & kLayoutCtrl) != 0 ? ctrl_ : 0;
        mask |= (modifiers & kLayoutShift) != 0 ? shift_ : 0;
        mask |= (modifiers & kLayoutAlt) != 0 ? alt_ : 0;
        SetMask(mask);
    }

    void SetMask(xkb_mod_mask_t mask) const {
        xkb_state_update_mask(state_.get(), mask, 0, 0, 0, 0, group_);
    }

    xkb_level_index_t Level(xkb_keycode_t keycode, xkb_mod_mask_t mask) const {
        SetMask(mask);
        return xkb_state_key_get_level(state_.get(), keycode, group_);
    }

    xkb_keysym_t Symbol(std::uint32_t scanCode, bool extended, unsigned modifiers) const {
        std::uint32_t evdev = 0;
        if (!ScanCodeToEvdev(scanCode, extended, evdev)) {
            return XKB_KEY_NoSymbol;
        }
        SetModifiers(modifiers);
        return xkb_state_key_get_one_sym(state_.get(), evdev + kXkbKeycodeOffset);
    }

    std::unique_ptr<xkb_context, ContextDeleter> context_;
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap_;
    std::unique_ptr<xkb_state, StateDeleter> state_;
    xkb_layout_index_t group_;
    xkb_mod_mask_t ctrl_ = 0;
    xkb_mod_mask_t shift_ = 0;
    xkb_mod_mask_t alt_ = 0;
    xkb_mod_mask_t levelThree_ = 0;
};

}  // namespace

std::unique_ptr<KeyboardLayout> KeyboardLayout::Open(const KeyboardLayoutNames& names) {
    // The names are read once by GetKeyboardLayoutNames; the context must not add its own.
    std::unique_ptr<xkb_context, ContextDeleter> context(
        xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    if (context == nullptr) {
        return nullptr;
    }
    const xkb_rule_names rules = {OrNull(names.rules), OrNull(names.model), OrNull(names.layout),
                                  OrNull(names.variant), OrNull(names.options)};
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(
        xkb_keymap_new_from_names(context.get(), &rules, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (keymap == nullptr) {
        return nullptr;
    }
    auto layout = std::make_unique<XkbKeyboardLayout>(std::move(context), std::move(keymap));
    if (!layout->IsUsable()) {
        return nullptr;
    }
    return layout;
}

std::unique_ptr<KeyboardLayout> KeyboardLayout::OpenX11(xcb_connection_t* connection) {
    if (connection == nullptr ||
        !xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
        return nullptr;
    }
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0) {
        return nullptr;
    }
    std::unique_ptr<xkb_context, ContextDeleter> context(
        xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    if (context == nullptr) {
        return nullptr;
    }
    // The server's keymap as it is, whether it came from rules names (setxkbmap, a desktop's
    // settings) or was loaded whole (xkbcomp).
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(xkb_x11_keymap_new_from_device(
        context.get(), connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (keymap == nullptr) {
        return nullptr;
    }
    // With several layouts configured, the one the user has switched to.
    xkb_layout_index_t group = 0;
    if (std::unique_ptr<xkb_state, StateDeleter> live(
            xkb_x11_state_new_from_device(keymap.get(), connection, device));
        live != nullptr) {
        group = xkb_state_serialize_layout(live.get(), XKB_STATE_LAYOUT_EFFECTIVE);
    }
    auto layout = std::make_unique<XkbKeyboardLayout>(std::move(context), std::move(keymap), group);
    if (!layout->IsUsable()) {
        return nullptr;
    }
    return layout;
}

}  // namespace rivode::platform
