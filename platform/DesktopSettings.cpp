#include "platform/DesktopSettings.h"

#include "platform/Environment.h"
#include "platform/SmallFile.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace rivode::platform {
namespace {

constexpr double kMinScale = 0.5;
constexpr double kMaxScale = 8.0;
// A configuration file larger than this is not a hand-made fonts.conf; it is not read.
constexpr std::size_t kMaxConfigBytes = 1 << 20;

std::optional<double> PositiveNumberOf(const char* variable) {
    const std::optional<std::string> text = GetEnvironmentVariable(variable);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    // from_chars ignores the locale, which may use a decimal comma.
    double number = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, number);
    if (error != std::errc() || stop != end || !(number > 0)) {
        return std::nullopt;
    }
    return number;
}

std::string UserFontConfigPath() {
    const std::string modern = GetUserConfigFolder() + "/fontconfig/fonts.conf";
    if (std::ifstream(modern).good()) {
        return modern;
    }
    return GetHomeFolder() + "/.fonts.conf";
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The boolean the last <edit name="antialias"> of a fontconfig file assigns; nothing when the
// file assigns none. Only the shape users write by hand is recognised; anything else leaves the
// default alone.
std::optional<bool> LastAntialiasAssignment(std::string_view config) {
    constexpr std::string_view kName = "antialias";
    std::optional<bool> assigned;
    for (std::size_t at = config.find(kName); at != std::string_view::npos;
         at = config.find(kName, at + 1)) {
        const std::size_t after = at + kName.size();
        // Only the quoted attribute value name="antialias", not a longer name containing it.
        if (at == 0 || after >= config.size() ||
            (config[at - 1] != '"' && config[at - 1] != '\'') || config[after] != config[at - 1]) {
            continue;
        }
        const std::size_t editEnd = config.find("</edit>", after);
        const std::size_t open = config.find("<bool>", after);
        if (open == std::string_view::npos || open > editEnd) {
            continue;
        }
        const std::size_t valueStart = open + std::string_view("<bool>").size();
        const std::size_t close = config.find("</bool>", valueStart);
        if (close == std::string_view::npos) {
            continue;
        }
        const std::string_view value = Trim(config.substr(valueStart, close - valueStart));
        if (value == "false" || value == "true") {
            assigned = value == "true";
        }
    }
    return assigned;
}

}  // namespace

double GetDesktopScaleFactor() {
    std::optional<double> scale = PositiveNumberOf("QT_SCALE_FACTOR");
    if (!scale) {
        scale = PositiveNumberOf("GDK_SCALE");
    }
    return std::clamp(scale.value_or(1.0), kMinScale, kMaxScale);
}

bool IsFontSmoothingEnabled() {
    return LastAntialiasAssignment(ReadSmallFile(UserFontConfigPath(), kMaxConfigBytes))
        .value_or(true);
}

bool IsDesktopEnvironmentSession() {
    for (const char* variable : {"WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP"}) {
        const std::optional<std::string> value = GetEnvironmentVariable(variable);
        if (value && !value->empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace rivode::platform
