// Colors as rivode shows and takes them: "#RRGGBB".
#pragma once

#include <RivodeRavudaVU/ColorScheme.h>

#include <optional>
#include <string>
#include <string_view>

namespace rivode::cli {

std::string FormatColorText(YColor color);
// "#RRGGBB" (the "#" may be left out), hexadecimal digits in either case; nullopt otherwise.
std::optional<YColor> ParseColorText(std::string_view text);

}  // namespace rivode::cli
