// YProfileTlsVersions: the enabled TLS protocol versions, stored under "Enabled TLS Versions" as
// a comma-separated list of version names in ascending order, e.g. "TLS1.2,TLS1.3"; the empty
// text enables none. Names are read without regard to case and surrounding blanks. A text with
// a name this library does not know is unreadable, so the value keeps its default rather than
// silently enabling less.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <cstdint>

#pragma GCC visibility push(default)

enum class YTlsVersion : std::uint32_t {
    Tls10 = 1u << 0,
    Tls11 = 1u << 1,
    Tls12 = 1u << 2,
    Tls13 = 1u << 3,
};

struct YTlsVersions {
    std::uint32_t mask = 0;

    bool IsEnabled(YTlsVersion version) const {
        return (mask & static_cast<std::uint32_t>(version)) != 0;
    }
    void Enable(YTlsVersion version, bool on) {
        const auto bit = static_cast<std::uint32_t>(version);
        mask = on ? (mask | bit) : (mask & ~bit);
    }
    bool operator==(const YTlsVersions&) const = default;
};

template <>
struct YProfileTextForm<YTlsVersions> {
    static constexpr bool kResetWhenMalformed = false;
    static YUnicodeString Format(const YTlsVersions& versions);
    static bool Parse(std::u16string_view text, YTlsVersions& versions, bool& converted);
};

class YProfileTlsVersions : public YProfile2<YTlsVersions, YProfileSz> {
public:
    static constexpr std::u16string_view kValueName = u"Enabled TLS Versions";

    explicit YProfileTlsVersions(YTlsVersions defaultValue = {})
        : YProfile2(YUnicodeString(kValueName), defaultValue) {}
    using YProfile2::operator=;
};

#pragma GCC visibility pop
