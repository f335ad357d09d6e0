#include <RivodeRavudaVU/ColorScheme.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <algorithm>

namespace {

struct BuiltInScheme {
    std::uint32_t nameMessage;
    std::uint32_t paletteMessage;  // 0: the palette has the scheme's name
    std::uint32_t evenForeground;
    std::uint32_t oddForeground;
    std::uint32_t background;
    bool onlyWhenNew;
};

constexpr BuiltInScheme kSchemes[] = {
#define RIVODE_BUILTIN_SCHEME(name, palette, even, odd, background, onlyWhenNew) \
    {name, palette, even, odd, background, onlyWhenNew},
#include "config/BuiltInColorSchemes.inc"
#undef RIVODE_BUILTIN_SCHEME
};
static_assert(std::size(kSchemes) == 22);

struct BuiltInPalette {
    std::uint32_t nameMessage;
    std::array<std::uint32_t, kAnsiColorCount> colors;
};

constexpr BuiltInPalette kPalettes[] = {
#define RIVODE_BUILTIN_PALETTE(name, ...) {name, {__VA_ARGS__}},
#include "config/BuiltInAnsiPalettes.inc"
#undef RIVODE_BUILTIN_PALETTE
};
static_assert(std::size(kPalettes) == 15);

constexpr std::uint32_t kDefaultSchemeMessage = 0x61370087;
constexpr std::uint32_t kStandardPaletteMessage = 0x61370063;
constexpr std::uint32_t kPlatformSchemeMessage = 0x61370076;
// Sessions whose scheme was deleted fall back to the first; the third follows the platform.
constexpr std::uint32_t kProtectedSchemeMessages[] = {0x61370072, 0x61370075,
                                                      kPlatformSchemeMessage};

}  // namespace

YStringArray GetBuiltInColorSchemeLines() {
    YStringArray lines;
    for (const BuiltInScheme& builtIn : kSchemes) {
        ColorSchemeEntry scheme;
        scheme.name = LoadMessageString(builtIn.nameMessage);
        scheme.palette =
            builtIn.paletteMessage == 0 ? scheme.name : LoadMessageString(builtIn.paletteMessage);
        for (std::size_t slot = 0; slot < kColorSlotCount; ++slot) {
            scheme.foreground[slot] =
                ColorFromRgb(slot % 2 == 0 ? builtIn.evenForeground : builtIn.oddForeground);
            scheme.background[slot] = ColorFromRgb(builtIn.background);
        }
        const bool present =
            std::any_of(lines.begin(), lines.end(), [&](const YUnicodeString& line) {
                return rivode::EqualsNoCase(ColorLineName(line), scheme.name);
            });
        if (builtIn.onlyWhenNew && present) {
            continue;
        }
        lines.push_back(FormatColorSchemeLine(scheme));
    }
    return lines;
}

YStringArray GetBuiltInAnsiPaletteLines() {
    YStringArray lines;
    for (const BuiltInPalette& builtIn : kPalettes) {
        AnsiPalette palette;
        palette.name = LoadMessageString(builtIn.nameMessage);
        std::transform(builtIn.colors.begin(), builtIn.colors.end(), palette.colors.begin(),
                       ColorFromRgb);
        lines.push_back(FormatAnsiPaletteLine(palette));
    }
    return lines;
}

YUnicodeString GetDefaultColorSchemeName() {
    return LoadMessageString(kDefaultSchemeMessage);
}

YUnicodeString GetStandardAnsiPaletteName() {
    return LoadMessageString(kStandardPaletteMessage);
}

YUnicodeString GetPlatformColorSchemeName() {
    return LoadMessageString(kPlatformSchemeMessage);
}

bool IsProtectedColorScheme(std::u16string_view name) {
    return std::any_of(std::begin(kProtectedSchemeMessages), std::end(kProtectedSchemeMessages),
                       [name](std::uint32_t id) {
                           const YUnicodeString protectedName = LoadMessageString(id);
                           return !protectedName.empty() &&
                                  rivode::EqualsNoCase(protectedName, name);
                       });
}

// No desktop query is made below the user interface: the classic window colors stand in.
void GetPlatformColors(unsigned long& foreground, unsigned long& background) {
    foreground = MakeColor(0, 0, 0);
    background = MakeColor(0xFF, 0xFF, 0xFF);
}
