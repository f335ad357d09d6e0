// The keyboard layout read through libxkbcommon: what AltGr (Ctrl with Alt) types on layouts
// with and without a third level.
#include "platform/KeyboardLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace rivode::platform {
namespace {

constexpr unsigned kAltGr = kLayoutCtrl | kLayoutAlt;

TEST(KeyboardLayout, AltGrTypesTheThirdLevelAndNothingWhereThereIsNone) {
    struct Case {
        const char* layout;
        std::uint32_t scanCode;
        unsigned modifiers;
        const char16_t* text;
        bool dead;
    };
    const Case cases[] = {
        {"us", 0x1E, kAltGr, u"", false},           // no third level: not Ctrl+A's \001
        {"us", 0x1E, kLayoutCtrl, u"\x01", false},  // Ctrl alone still makes control codes
        {"fr", 0x12, kAltGr, u"\u20AC", false},     // AltGr+E is the euro sign
        {"fr", 0x12, kAltGr | kLayoutShift, u"\u00A2", false},  // the fourth level
        {"fr", 0x1A, kAltGr, u"", true},   // the circumflex key's dead diaeresis
        {"fr", 0x01, kAltGr, u"", false},  // Escape has one level only
        {"de", 0x10, kAltGr, u"@", false},
        {"de", 0x0B, kAltGr, u"}", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.layout) + " " + std::to_string(test.scanCode) + " " +
                     std::to_string(test.modifiers));
        KeyboardLayoutNames names;
        names.layout = test.layout;
        const std::unique_ptr<KeyboardLayout> layout = KeyboardLayout::Open(names);
        if (layout == nullptr) {
            GTEST_SKIP() << "no XKB data for layout " << test.layout;
        }
        const KeyText typed = layout->GetKeyText(test.scanCode, false, test.modifiers);
        EXPECT_EQ(typed.text, test.text);
        EXPECT_EQ(typed.dead, test.dead);
    }
}

}  // namespace
}  // namespace rivode::platform
