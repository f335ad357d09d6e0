// ProfileDockWindowState: where a dockable pane (the session manager, the command manager, the
// active sessions manager) sits and how large it is, stored as the text of twelve decimal
// integers separated by commas.
//
// The older form of nine integers (before the pane could hide itself at a window edge and kept
// its place in a dock row) is still read: the last three fields keep their defaults, and the
// value is written in the twelve-integer form on the next save. Any other text is unreadable,
// so the value keeps its default. Blanks around the numbers are allowed; the twelfth number is
// 16-bit (a larger one keeps its low 16 bits).
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <cstdint>

#pragma GCC visibility push(default)

struct YDockWindowState {
    // The window edge the pane is docked to.
    enum Side : std::int32_t { Left = 0, Right = 1, Top = 2, Bottom = 3 };

    std::int32_t side = Left;
    std::int32_t visible = 1;
    std::int32_t floating = 0;
    // The pane's frame while floating, in screen coordinates.
    std::int32_t floatLeft = 0;
    std::int32_t floatTop = 0;
    std::int32_t floatRight = 0;
    std::int32_t floatBottom = 0;
    // The pane's size while docked.
    std::int32_t dockedWidth = 200;
    std::int32_t dockedHeight = 200;
    // Added with the twelve-integer form: the row of the dock bar, the position in that row, and
    // whether the pane hides itself at its edge.
    std::int32_t dockRow = 0;
    std::int32_t dockPosition = 0;
    std::int16_t autoHide = 0;

    bool operator==(const YDockWindowState&) const = default;
};

template <>
struct YProfileTextForm<YDockWindowState> {
    static constexpr bool kResetWhenMalformed = false;
    static YUnicodeString Format(const YDockWindowState& state);
    static bool Parse(std::u16string_view text, YDockWindowState& state, bool& converted);
};

using ProfileDockWindowState = YProfile2<YDockWindowState, YProfileSz>;

#pragma GCC visibility pop
