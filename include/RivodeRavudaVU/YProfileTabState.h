// YProfileTabState: the state of a tab bar stored as the text "%d,%d,%d;" of two flags (0 or 1)
// and a number, followed after the semicolon by a comma-separated list of numbers.
//
// The older form of five comma-separated integers (missing ones taken as 1, 1, 1, 0, 0) is read
// and converted: the first two become the flags, the fourth the number and the fifth the one
// entry of the list (the third has no place in the current form). A converted value is written
// in the current form on the next save. A malformed text resets the state to its defaults
// ("1,1,0;").
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <cstdint>
#include <vector>

#pragma GCC visibility push(default)

struct YTabState {
    bool firstFlag = true;
    bool secondFlag = true;
    std::int32_t number = 0;
    std::vector<std::int32_t> list;
    bool operator==(const YTabState&) const = default;
};

template <>
struct YProfileTextForm<YTabState> {
    static constexpr bool kResetWhenMalformed = true;
    static YUnicodeString Format(const YTabState& state);
    static bool Parse(std::u16string_view text, YTabState& state, bool& converted);
};

using YProfileTabState = YProfile2<YTabState, YProfileSz>;

#pragma GCC visibility pop
