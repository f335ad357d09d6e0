#include <RivodeRavudaVU/ColorScheme.h>
#include <RivodeRavudaVU/HexDigits.h>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

std::vector<std::u16string_view> SplitAtCommas(std::u16string_view line) {
    std::vector<std::u16string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(u',', start);
        fields.push_back(
            line.substr(start, comma - (comma == std::u16string_view::npos ? 0 : start)));
        if (comma == std::u16string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::optional<std::uint8_t> HexByte(std::u16string_view text, std::size_t at) {
    if (text.size() < at + 2) {
        return std::nullopt;
    }
    const int value = rivode::HexByteValue(text[at], text[at + 1]);
    if (value < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

// RRGGBB followed by anything (the stored form ends in "00", which is not read).
void ReadColor(std::u16string_view field, YColor& color) {
    const auto red = HexByte(field, 0);
    const auto green = HexByte(field, 2);
    const auto blue = HexByte(field, 4);
    if (red && green && blue) {
        color = MakeColor(*red, *green, *blue);
    }
}

void AppendColor(YUnicodeString& line, YColor color) {
    char text[16];
    std::snprintf(text, sizeof text, ",%02X%02X%02X00", color & 0xFF, (color >> 8) & 0xFF,
                  (color >> 16) & 0xFF);
    line += rivode::FromAscii(text);
}

void AppendSwitches(YUnicodeString& line, unsigned a, unsigned b, unsigned c) {
    char text[16];
    std::snprintf(text, sizeof text, ",%02X%02X%02X", a & 0xFF, b & 0xFF, c & 0xFF);
    line += rivode::FromAscii(text);
}

}  // namespace

std::u16string_view ColorLineName(std::u16string_view line) {
    return line.substr(0, line.find(u','));
}

YUnicodeString FormatColorSchemeLine(const ColorSchemeEntry& scheme) {
    YUnicodeString line = scheme.name;
    AppendSwitches(line, scheme.overstrikeBold, scheme.showUnderline, scheme.enableBlink);
    for (const YColor color : scheme.foreground) {
        AppendColor(line, color);
    }
    for (const YColor color : scheme.background) {
        AppendColor(line, color);
    }
    line += u',';
    line += scheme.palette;
    return line;
}

void ParseColorSchemeLine(std::u16string_view line, ColorSchemeEntry& scheme) {
    const std::vector<std::u16string_view> fields = SplitAtCommas(line);
    scheme.name = YUnicodeString(fields[0]);
    if (fields.size() >= 2) {
        std::uint8_t* switches[] = {&scheme.overstrikeBold, &scheme.showUnderline,
                                    &scheme.enableBlink};
        for (std::size_t i = 0; i < 3; ++i) {
            if (const auto value = HexByte(fields[1], 2 * i)) {
                *switches[i] = *value;
            }
        }
    }
    // Colors stand between the switches and the palette, the last field.
    for (std::size_t i = 2; i + 1 < fields.size() && i - 2 < 2 * kColorSlotCount; ++i) {
        const std::size_t slot = i - 2;
        ReadColor(fields[i], slot < kColorSlotCount ? scheme.foreground[slot]
                                                    : scheme.background[slot - kColorSlotCount]);
    }
    if (fields.size() >= 3) {
        scheme.palette = YUnicodeString(fields.back());
    }
}

YUnicodeString FormatAnsiPaletteLine(const AnsiPalette& palette) {
    YUnicodeString line = palette.name;
    for (const YColor color : palette.colors) {
        AppendColor(line, color);
    }
    return line;
}

void ParseAnsiPaletteLine(std::u16string_view line, AnsiPalette& palette) {
    const std::vector<std::u16string_view> fields = SplitAtCommas(line);
    palette.name = YUnicodeString(fields[0]);
    for (std::size_t i = 1; i < fields.size() && i <= kAnsiColorCount; ++i) {
        ReadColor(fields[i], palette.colors[i - 1]);
    }
}

YUnicodeString ConvertLegacyColorScheme(
    std::u16string_view name, std::span<const std::uint8_t, kLegacyColorSchemeSize> bytes) {
    YUnicodeString line(name);
    AppendSwitches(line, bytes[1], bytes[2], bytes[3]);
    for (std::size_t i = 0; i < 2 * kColorSlotCount; ++i) {
        const std::uint8_t* color = &bytes[4 + 4 * i];
        AppendColor(line, MakeColor(color[0], color[1], color[2]));
    }
    line += u",Standard";
    return line;
}
