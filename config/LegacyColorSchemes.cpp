// Schemes that older configurations kept one per binary value, before the list of lines.
#include <RivodeRavudaVU/ProfileColorLists.h>

#include <array>

YStringArray ReadLegacyColorSchemes(const YProfileKey& key) {
    YStringArray lines;
    // Opening a subkey that is not there would make it; most configurations have none.
    if (!key.SubKeyExists(kLegacyColorSchemesKey)) {
        return lines;
    }
    const YProfileKey schemes(key, kLegacyColorSchemesKey);
    YProfileKeyIterator values(schemes, true);
    YUnicodeString name;
    int kind = 0;
    while (values.Next(name, kind)) {
        std::array<std::uint8_t, kLegacyColorSchemeSize> bytes{};
        std::uint32_t size = kLegacyColorSchemeSize;
        // A name with a comma cannot stand in a line; such a scheme stays where it is.
        if (kind != ValueKindBinary || name.empty() || name.find(u',') != YUnicodeString::npos ||
            !schemes.GetBinary(name, bytes.data(), size) || size != kLegacyColorSchemeSize) {
            continue;
        }
        lines.push_back(ConvertLegacyColorScheme(name, bytes));
    }
    return lines;
}
