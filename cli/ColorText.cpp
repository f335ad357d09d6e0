#include "ColorText.h"

#include <RivodeRavudaVU/HexDigits.h>

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace rivode::cli {

std::string FormatColorText(YColor color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(ColorToRgb(color)));
    return text;
}

std::optional<YColor> ParseColorText(std::string_view text) {
    if (text.starts_with('#')) {
        text.remove_prefix(1);
    }
    std::uint32_t rgb = 0;
    if (text.size() != 6 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return HexDigitValue(c) >= 0; })) {
        return std::nullopt;
    }
    std::from_chars(text.data(), text.data() + text.size(), rgb, 16);
    return ColorFromRgb(rgb);
}

}  // namespace rivode::cli
