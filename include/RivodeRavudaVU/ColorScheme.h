// Color schemes and ANSI palettes, and the text lines that store them.
//
// A color is 32 bits: red in bits 0-7, green 8-15, blue 16-23, the rest zero. A scheme gives the
// foreground and background of each of the eight attribute combinations (slots "Normal", "Bold",
// "Underline", "Bold Underline", "Blink", "Blink Bold", "Blink Underline", "Blink Bold
// Underline"), three display switches and the name of its ANSI palette. A palette gives the 16
// colors black, red, green, yellow, blue, magenta, cyan, white, then the same in bold form.
//
// Scheme line: name, switches as six hexadecimal digits (two each: overstrike bold, show
// underline, enable blink), the 8 foregrounds and 8 backgrounds each as RRGGBB00, palette name;
// fields separated by commas. Palette line: name and the 16 colors the same way. Names therefore
// cannot hold a comma. Everything here is safe from any thread.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#pragma GCC visibility push(default)

using YColor = std::uint32_t;

inline constexpr std::size_t kColorSlotCount = 8;
inline constexpr std::size_t kAnsiColorCount = 16;
// The size of a scheme in the binary form older configurations stored.
inline constexpr std::size_t kLegacyColorSchemeSize = 68;

constexpr YColor MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red | (green << 8) | (static_cast<YColor>(blue) << 16);
}
// A color written as 0xRRGGBB.
constexpr YColor ColorFromRgb(std::uint32_t rgb) {
    return MakeColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
constexpr std::uint32_t ColorToRgb(YColor color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

struct ColorSchemeEntry {
    YUnicodeString name;     // unique in the list, letter case ignored
    YUnicodeString palette;  // the ANSI palette used with the scheme
    std::uint8_t overstrikeBold = 1;
    std::uint8_t showUnderline = 1;
    std::uint8_t enableBlink = 1;
    std::array<YColor, kColorSlotCount> foreground{};  // black
    std::array<YColor, kColorSlotCount> background = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                                      0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    bool operator==(const ColorSchemeEntry&) const = default;
};

struct AnsiPalette {
    YUnicodeString name;
    std::array<YColor, kAnsiColorCount> colors{};
    bool operator==(const AnsiPalette&) const = default;
};

YUnicodeString FormatColorSchemeLine(const ColorSchemeEntry& scheme);
// Reads a scheme line into scheme. Fields that are missing or not hexadecimal leave their part of
// scheme as it was, so a short line keeps the colors it has.
void ParseColorSchemeLine(std::u16string_view line, ColorSchemeEntry& scheme);
YUnicodeString FormatAnsiPaletteLine(const AnsiPalette& palette);
void ParseAnsiPaletteLine(std::u16string_view line, AnsiPalette& palette);
// The first field of a scheme or palette line.
std::u16string_view ColorLineName(std::u16string_view line);

// The line of a scheme stored in the older binary form: byte 0 unused, bytes 1-3 the switches,
// then 8 foregrounds and 8 backgrounds as little-endian colors; its palette is "Standard".
YUnicodeString ConvertLegacyColorScheme(
    std::u16string_view name, std::span<const std::uint8_t, kLegacyColorSchemeSize> bytes);

// The built-in lists in their order, named by the host's message table: 22 schemes and 15
// palettes, the standard palette first.
YStringArray GetBuiltInColorSchemeLines();
YStringArray GetBuiltInAnsiPaletteLines();
// The name of the scheme a list makes current when loaded, and of the standard palette.
YUnicodeString GetDefaultColorSchemeName();
YUnicodeString GetStandardAnsiPaletteName();
// The name of the scheme whose colors follow the platform's window colors.
YUnicodeString GetPlatformColorSchemeName();
// Whether name (letter case ignored) is a scheme the program relies on: the scheme sessions fall
// back to when theirs is deleted, green on black, and the scheme that follows the platform.
bool IsProtectedColorScheme(std::u16string_view name);

// The platform's window-text and window colors. Without a desktop to ask, black on white.
void GetPlatformColors(unsigned long& foreground, unsigned long& background);

#pragma GCC visibility pop
