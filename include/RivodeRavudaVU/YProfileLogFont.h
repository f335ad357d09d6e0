// YProfileLogFont: a font description stored as a 96-byte binary value.
//
// Stored form (little-endian): height, width, escapement, orientation, weight (signed 32 each);
// italic, underline, strike-out, character set, output precision, clipping precision, quality,
// pitch and family (8 bits each); the face name in 32 UTF-16 units, zero-padded; one more signed
// 32-bit field carried with the font.
//
// A value whose name contains " v2" was once stored under the name cut before " v2" in a 64-byte
// form whose face name is 32 bytes of the system code page (Windows-1252 here). When the 96-byte
// value is unreadable that older value is read, converted, and left pending: the next save
// writes the 96-byte form under the full name. The older value itself is never written.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <array>
#include <cstdint>
#include <string_view>

#pragma GCC visibility push(default)

struct YLogFont {
    static constexpr std::size_t kFaceNameLength = 32;

    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    // Zero-terminated unless it fills all 32 units.
    std::array<char16_t, kFaceNameLength> faceName{};
    // Carried with the font; what it means belongs to the user-interface code that fills it.
    std::int32_t extra = 0;

    // The face name up to its terminator.
    std::u16string_view GetFaceName() const;
    // Cut to 31 units so that the name stays terminated.
    void SetFaceName(std::u16string_view name);

    bool operator==(const YLogFont&) const = default;
};

template <>
struct YBinaryLayout<YLogFont> {
    static constexpr std::size_t kSize = 96;
    static void Write(const YLogFont& font, std::uint8_t* out);
    static void Read(const std::uint8_t* in, YLogFont& font);
};

// The older 64-byte form, read only.
struct YLegacyLogFontLayout {
    static constexpr std::size_t kSize = 64;
    static constexpr std::u16string_view kNameSuffix = u" v2";
    static void Write(const YLogFont& font, std::uint8_t* out);
    static void Read(const std::uint8_t* in, YLogFont& font);
};

template <>
struct YProfileCodec<YLogFont, YProfileBinary> {
    static bool Read(const YProfileBinary& storage, const YProfileKey& key, YLogFont& value,
                     bool& converted);
    static bool Write(const YProfileBinary& storage, const YProfileKey& key, const YLogFont& value);
};

using YProfileLogFont = YProfile2<YLogFont, YProfileBinary>;

#pragma GCC visibility pop
