// Reads arbitrary text as a color-scheme line and as a palette line: whatever a line holds, the
// record read from it writes a line that reads back as the same record. Inputs of the binary
// scheme size are also converted from the older form and must read as a scheme.
#include <RivodeRavudaVU/ColorScheme.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const YUnicodeString line =
        rivode::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));

    ColorSchemeEntry scheme;
    ParseColorSchemeLine(line, scheme);
    ColorSchemeEntry again;
    ParseColorSchemeLine(FormatColorSchemeLine(scheme), again);
    Check(again == scheme);

    AnsiPalette palette;
    ParseAnsiPaletteLine(line, palette);
    AnsiPalette paletteAgain;
    ParseAnsiPaletteLine(FormatAnsiPaletteLine(palette), paletteAgain);
    Check(paletteAgain == palette);

    if (size == kLegacyColorSchemeSize) {
        ColorSchemeEntry converted;
        ParseColorSchemeLine(
            ConvertLegacyColorScheme(u"Old", std::span<const std::uint8_t, kLegacyColorSchemeSize>(
                                                 data, kLegacyColorSchemeSize)),
            converted);
        Check(converted.name == u"Old" && converted.palette == u"Standard");
        Check(converted.background[7] == MakeColor(data[64], data[65], data[66]));
    }
    return 0;
}
