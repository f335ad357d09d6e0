// YProfileListViewState: the state of a list view stored as text: "%d,%d,%lu,%d,%d" of a flag,
// an integer, an unsigned integer, an integer and the column count n, then for each column a
// comma and "width,visible,order".
//
// Reading takes the five numbers and splits the rest at commas: n tokens are widths only (every
// column visible, in its own position), 3n tokens are triples. Any other count, or nothing after
// the five numbers, resets the state to its defaults (flag on, 1, 1, 0, no columns). What the
// numbers mean belongs to the view that fills them.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <cstdint>
#include <vector>

#pragma GCC visibility push(default)

struct YListViewColumn {
    std::int32_t width = 0;
    bool visible = true;
    std::int32_t order = 0;
    bool operator==(const YListViewColumn&) const = default;
};

struct YListViewState {
    bool flag = true;
    std::int32_t first = 1;
    std::uint32_t second = 1;
    std::int32_t third = 0;
    std::vector<YListViewColumn> columns;
    bool operator==(const YListViewState&) const = default;
};

template <>
struct YProfileTextForm<YListViewState> {
    static constexpr bool kResetWhenMalformed = true;
    static YUnicodeString Format(const YListViewState& state);
    static bool Parse(std::u16string_view text, YListViewState& state, bool& converted);
};

using YProfileListViewState = YProfile2<YListViewState, YProfileSz>;

#pragma GCC visibility pop
