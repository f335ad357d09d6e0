// The on-screen keyboard's layout tables: a PC keyboard with its function row, the main keys,
// the navigation keys and the keypad (NumLock off), the modifiers drawn into the gaps the main
// block leaves for them, and the keypad digits as they are with NumLock on.
#include <RivodeRavudaVU/KeyboardButton.h>

#include <array>

namespace {

constexpr int kKey = 24;   // an ordinary key
constexpr int kWide = 36;  // navigation and keypad keys
constexpr int kGap = 12;   // between the blocks
constexpr int kRow = 24;   // a row's height
constexpr int kFRow = 36;  // the function row and the gap below it

// Fixed labels in the small font, layout labels in the normal one, glyphs for the keys whose
// names are arrows.
#define FIXED(label, width, scan, ext) \
    { label, width, kRow, scan, ext, 1, 1 }
#define TYPED(label, scan) \
    { label, kKey, kRow, scan, false, 0, 2 }
#define GLYPH(label, width, scan, ext) \
    { label, width, kRow, scan, ext, 1, 3 }
#define SPACER(width) \
    { u"SPACER", width, 0, 0, false, 1, 1 }
#define NEWROW(height) \
    { u"NEWROW", 0, height, 0, false, 1, 1 }

constexpr std::array<KeyboardLayoutCell, 116> kMainBlock = {{
    FIXED(u"Esc", kKey, 0x01, false),
    SPACER(kKey),
    FIXED(u"F1", kKey, 0x3B, false),
    FIXED(u"F2", kKey, 0x3C, false),
    FIXED(u"F3", kKey, 0x3D, false),
    FIXED(u"F4", kKey, 0x3E, false),
    SPACER(kGap),
    FIXED(u"F5", kKey, 0x3F, false),
    FIXED(u"F6", kKey, 0x40, false),
    FIXED(u"F7", kKey, 0x41, false),
    FIXED(u"F8", kKey, 0x42, false),
    SPACER(kGap),
    FIXED(u"F9", kKey, 0x43, false),
    FIXED(u"F10", kKey, 0x44, false),
    FIXED(u"F11", kKey, 0x57, false),
    FIXED(u"F12", kKey, 0x58, false),
    SPACER(kGap),
    FIXED(u"Print", kWide, 0x37, true),
    FIXED(u"Scroll", kWide, 0x46, false),
    FIXED(u"Pause", kWide, 0x45, false),
    NEWROW(kFRow),
    // The digit row, the navigation keys above the cursor keys, the keypad's top row.
    TYPED(u"`", 0x29),
    TYPED(u"1", 0x02),
    TYPED(u"2", 0x03),
    TYPED(u"3", 0x04),
    TYPED(u"4", 0x05),
    TYPED(u"5", 0x06),
    TYPED(u"6", 0x07),
    TYPED(u"7", 0x08),
    TYPED(u"8", 0x09),
    TYPED(u"9", 0x0A),
    TYPED(u"0", 0x0B),
    TYPED(u"-", 0x0C),
    TYPED(u"=", 0x0D),
    GLYPH(u"\u2190", 48, 0x0E, false),
    SPACER(kGap),
    FIXED(u"Ins", kWide, 0x52, true),
    FIXED(u"Home", kWide, 0x47, true),
    FIXED(u"PgUp", kWide, 0x49, true),
    SPACER(kGap),
    FIXED(u"Num", kWide, 0x45, true),
    FIXED(u"/", kWide, 0x35, true),
    FIXED(u"*", kWide, 0x37, false),
    FIXED(u"-", kWide, 0x4A, false),
    NEWROW(kRow),
    GLYPH(u"\u21E5", kWide, 0x0F, false),
    TYPED(u"Q", 0x10),
    TYPED(u"W", 0x11),
    TYPED(u"E", 0x12),
    TYPED(u"R", 0x13),
    TYPED(u"T", 0x14),
    TYPED(u"Y", 0x15),
    TYPED(u"U", 0x16),
    TYPED(u"I", 0x17),
    TYPED(u"O", 0x18),
    TYPED(u"P", 0x19),
    TYPED(u"[", 0x1A),
    TYPED(u"]", 0x1B),
    {u"\\", kWide, kRow, 0x2B, false, 0, 2},
    SPACER(kGap),
    FIXED(u"Del", kWide, 0x53, true),
    FIXED(u"End", kWide, 0x4F, true),
    FIXED(u"PgDn", kWide, 0x51, true),
    SPACER(kGap),
    FIXED(u"Home", kWide, 0x47, false),
    GLYPH(u"\u2191", kWide, 0x48, false),
    FIXED(u"PgUp", kWide, 0x49, false),
    {u"+", kWide, 2 * kRow, 0x4E, false, 1, 1},
    NEWROW(kRow),
    // Caps Lock's place is left free: the modifier row draws it.
    SPACER(40),
    TYPED(u"A", 0x1E),
    TYPED(u"S", 0x1F),
    TYPED(u"D", 0x20),
    TYPED(u"F", 0x21),
    TYPED(u"G", 0x22),
    TYPED(u"H", 0x23),
    TYPED(u"J", 0x24),
    TYPED(u"K", 0x25),
    TYPED(u"L", 0x26),
    TYPED(u";", 0x27),
    TYPED(u"'", 0x28),
    GLYPH(u"\u21B5", 56, 0x1C, false),
    SPACER(132),
    GLYPH(u"\u2190", kWide, 0x4B, false),
    FIXED(u"Clear", kWide, 0x4C, false),
    GLYPH(u"\u2192", kWide, 0x4D, false),
    NEWROW(kRow),
    SPACER(52),
    TYPED(u"Z", 0x2C),
    TYPED(u"X", 0x2D),
    TYPED(u"C", 0x2E),
    TYPED(u"V", 0x2F),
    TYPED(u"B", 0x30),
    TYPED(u"N", 0x31),
    TYPED(u"M", 0x32),
    TYPED(u",", 0x33),
    TYPED(u".", 0x34),
    TYPED(u"/", 0x35),
    SPACER(116),
    GLYPH(u"\u2191", kWide, 0x48, true),
    SPACER(48),
    FIXED(u"End", kWide, 0x4F, false),
    GLYPH(u"\u2193", kWide, 0x50, false),
    FIXED(u"PgDn", kWide, 0x51, false),
    {u"\u21B5", kWide, 2 * kRow, 0x1C, true, 1, 3},
    NEWROW(kRow),
    SPACER(80),
    {u" ", 160, kRow, 0x39, false, 1, 1},
    SPACER(132),
    GLYPH(u"\u2190", kWide, 0x4B, true),
    GLYPH(u"\u2193", kWide, 0x50, true),
    GLYPH(u"\u2192", kWide, 0x4D, true),
    SPACER(kGap),
    FIXED(u"Ins", 72, 0x52, false),
    FIXED(u"Del", kWide, 0x53, false),
    NEWROW(kRow),
}};

// Drawn into the main block's gaps; never mapped (no scan code).
constexpr std::array<KeyboardLayoutCell, 13> kModifierRow = {{
    NEWROW(kFRow + 2 * kRow),
    FIXED(u"Caps", 40, 0, false),
    NEWROW(kRow),
    FIXED(u"SHIFT", 52, 0, false),
    SPACER(240),
    FIXED(u"SHIFT", 68, 0, false),
    NEWROW(kRow),
    FIXED(u"CTRL", 40, 0, false),
    FIXED(u"ALT", 40, 0, false),
    SPACER(160),
    FIXED(u"ALT", 60, 0, false),
    FIXED(u"CTRL", 60, 0, false),
    NEWROW(kRow),
}};

// The keypad with NumLock on, in the places of the main block's keys of the same scan codes.
#define DIGIT(label, scan, vk) \
    { label, kWide, kRow, scan, false, 1, 2, vk }
constexpr std::array<KeyboardLayoutCell, 11> kNumpadOverlay = {{
    DIGIT(u"7", 0x47, 0x67),
    DIGIT(u"8", 0x48, 0x68),
    DIGIT(u"9", 0x49, 0x69),
    DIGIT(u"4", 0x4B, 0x64),
    DIGIT(u"5", 0x4C, 0x65),
    DIGIT(u"6", 0x4D, 0x66),
    DIGIT(u"1", 0x4F, 0x61),
    DIGIT(u"2", 0x50, 0x62),
    DIGIT(u"3", 0x51, 0x63),
    {u"0", 72, kRow, 0x52, false, 1, 2, 0x60},
    DIGIT(u".", 0x53, 0x6E),
}};

}  // namespace

std::span<const KeyboardLayoutCell> GetMainKeyboardLayout() {
    return kMainBlock;
}

std::span<const KeyboardLayoutCell> GetModifierRowLayout() {
    return kModifierRow;
}

std::span<const KeyboardLayoutCell> GetNumpadOverlayLayout() {
    return kNumpadOverlay;
}
