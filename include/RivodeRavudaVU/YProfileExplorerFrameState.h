// YProfileExplorerFrameState: the layout of a file-explorer frame stored as the text "%d,%d,%d"
// of a flag (written 0 or 1, any non-zero number reads as on) and two integers. What the numbers
// mean belongs to the frame that fills them. A malformed text resets the state to its defaults.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <cstdint>

#pragma GCC visibility push(default)

struct YExplorerFrameState {
    bool flag = true;
    std::int32_t first = 0;
    std::int32_t second = 0;
    bool operator==(const YExplorerFrameState&) const = default;
};

template <>
struct YProfileTextForm<YExplorerFrameState> {
    static constexpr bool kResetWhenMalformed = true;
    static YUnicodeString Format(const YExplorerFrameState& state);
    static bool Parse(std::u16string_view text, YExplorerFrameState& state, bool& converted);
};

using YProfileExplorerFrameState = YProfile2<YExplorerFrameState, YProfileSz>;

#pragma GCC visibility pop
