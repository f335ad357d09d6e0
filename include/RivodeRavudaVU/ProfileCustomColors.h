// ProfileCustomColors: the 16 custom colors of the color picker ("Custom Colors" of the global
// record), stored as a 64-byte binary value of 16 little-endian colors (ColorScheme.h). A stored
// block shorter than 64 bytes sets only the colors it holds.
#pragma once

#include <RivodeRavudaVU/ColorScheme.h>
#include <RivodeRavudaVU/YProfile2.h>

#include <array>

#pragma GCC visibility push(default)

inline constexpr std::size_t kCustomColorCount = 16;

// The picker shows unused custom colors as white.
struct CustomColors {
    std::array<YColor, kCustomColorCount> colors = {
        0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
        0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    bool operator==(const CustomColors&) const = default;
};

template <>
struct YBinaryLayout<CustomColors> {
    static constexpr std::size_t kSize = 4 * kCustomColorCount;
    static void Write(const CustomColors& value, std::uint8_t* out) {
        YLittleEndianWriter writer(out);
        for (const YColor color : value.colors) {
            writer.PutUInt32(color);
        }
    }
    static void Read(const std::uint8_t* in, CustomColors& value) {
        YLittleEndianReader reader(in);
        for (YColor& color : value.colors) {
            color = reader.GetUInt32();
        }
    }
};

using ProfileCustomColors = YProfile2<CustomColors, YProfileBinary>;

#pragma GCC visibility pop
