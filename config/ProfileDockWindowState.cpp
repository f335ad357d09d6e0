#include <RivodeRavudaVU/ProfileDockWindowState.h>

#include "storage/values/YProfileNumberText.h"

#include <array>
#include <utility>

using namespace rivode::storage;

namespace {

constexpr std::size_t kFieldCount = 12;
constexpr std::size_t kOlderFieldCount = 9;

// The first eleven fields in stored order; the twelfth is the 16-bit autoHide.
template <class State>
std::array<decltype(&std::declval<State&>().side), kFieldCount - 1> WideFields(State& state) {
    return {&state.side,         &state.visible,    &state.floating,    &state.floatLeft,
            &state.floatTop,     &state.floatRight, &state.floatBottom, &state.dockedWidth,
            &state.dockedHeight, &state.dockRow,    &state.dockPosition};
}

}  // namespace

YUnicodeString YProfileTextForm<YDockWindowState>::Format(const YDockWindowState& state) {
    YUnicodeString text;
    for (const std::int32_t* field : WideFields(state)) {
        AppendDecimal(text, *field);
        text.push_back(u',');
    }
    AppendDecimal(text, state.autoHide);
    return text;
}

bool YProfileTextForm<YDockWindowState>::Parse(std::u16string_view text, YDockWindowState& state,
                                               bool& converted) {
    const auto pieces = Split(text, u',');
    if (pieces.size() != kFieldCount && pieces.size() != kOlderFieldCount) {
        return false;
    }
    std::array<std::int32_t, kFieldCount> numbers{};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!ParseInt32(pieces[i], numbers[i])) {
            return false;
        }
    }
    YDockWindowState parsed;
    const auto fields = WideFields(parsed);
    for (std::size_t i = 0; i < pieces.size() && i < fields.size(); ++i) {
        *fields[i] = numbers[i];
    }
    if (pieces.size() == kFieldCount) {
        parsed.autoHide = static_cast<std::int16_t>(numbers[kFieldCount - 1]);
    }
    converted = pieces.size() == kOlderFieldCount;
    state = parsed;
    return true;
}
