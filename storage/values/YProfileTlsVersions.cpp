#include <RivodeRavudaVU/YProfileTlsVersions.h>

#include "storage/values/YProfileNumberText.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<YTlsVersion, std::u16string_view>, 4> kVersionNames = {{
    {YTlsVersion::Tls10, u"TLS1.0"},
    {YTlsVersion::Tls11, u"TLS1.1"},
    {YTlsVersion::Tls12, u"TLS1.2"},
    {YTlsVersion::Tls13, u"TLS1.3"},
}};

}  // namespace

YUnicodeString YProfileTextForm<YTlsVersions>::Format(const YTlsVersions& versions) {
    YUnicodeString text;
    for (const auto& [version, name] : kVersionNames) {
        if (!versions.IsEnabled(version)) {
            continue;
        }
        if (!text.empty()) {
            text.push_back(u',');
        }
        text += name;
    }
    return text;
}

bool YProfileTextForm<YTlsVersions>::Parse(std::u16string_view text, YTlsVersions& versions,
                                           bool&) {
    versions.mask = 0;
    if (rivode::storage::TrimBlanks(text).empty()) {
        return true;
    }
    for (std::u16string_view piece : rivode::storage::Split(text, u',')) {
        const std::u16string_view token = rivode::storage::TrimBlanks(piece);
        bool known = false;
        for (const auto& [version, name] : kVersionNames) {
            if (rivode::EqualsNoCase(token, name)) {
                versions.Enable(version, true);
                known = true;
                break;
            }
        }
        if (!known) {
            return false;
        }
    }
    return true;
}
