// YProfileWindowPlacement: a window's position stored as a 44-byte binary value of eleven signed
// 32-bit numbers: length, flags, show command, minimized position x and y, maximized position x
// and y, normal rectangle left, top, right, bottom.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <cstdint>

#pragma GCC visibility push(default)

struct YWindowPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const YWindowPoint&) const = default;
};

struct YWindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const YWindowRect&) const = default;
};

struct YWindowPlacement {
    std::int32_t length = 44;
    std::int32_t flags = 0;
    std::int32_t showCommand = 0;
    YWindowPoint minPosition;
    YWindowPoint maxPosition;
    YWindowRect normalPosition;
    bool operator==(const YWindowPlacement&) const = default;
};

template <>
struct YBinaryLayout<YWindowPlacement> {
    static constexpr std::size_t kSize = 44;
    static void Write(const YWindowPlacement& placement, std::uint8_t* out);
    static void Read(const std::uint8_t* in, YWindowPlacement& placement);
};

using YProfileWindowPlacement = YProfile2<YWindowPlacement, YProfileBinary>;

#pragma GCC visibility pop
