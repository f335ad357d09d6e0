#include <RivodeRavudaVU/YProfileTabState.h>

#include "storage/values/YProfileNumberText.h"

#include <array>

using namespace rivode::storage;

namespace {

// The older form: up to five integers, the missing ones taken from these.
constexpr std::array<std::int32_t, 5> kOlderFormDefaults = {1, 1, 1, 0, 0};

bool ParseOlderForm(std::u16string_view text, YTabState& state) {
    std::array<std::int32_t, 5> numbers = kOlderFormDefaults;
    if (!TrimBlanks(text).empty()) {
        const auto pieces = Split(text, u',');
        if (pieces.size() > numbers.size()) {
            return false;
        }
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (!ParseInt32(pieces[i], numbers[i])) {
                return false;
            }
        }
    }
    state.firstFlag = numbers[0] != 0;
    state.secondFlag = numbers[1] != 0;
    state.number = numbers[3];
    state.list = {numbers[4]};
    return true;
}

}  // namespace

YUnicodeString YProfileTextForm<YTabState>::Format(const YTabState& state) {
    YUnicodeString text;
    AppendDecimal(text, state.firstFlag ? 1 : 0);
    text.push_back(u',');
    AppendDecimal(text, state.secondFlag ? 1 : 0);
    text.push_back(u',');
    AppendDecimal(text, state.number);
    text.push_back(u';');
    for (std::size_t i = 0; i < state.list.size(); ++i) {
        if (i != 0) {
            text.push_back(u',');
        }
        AppendDecimal(text, state.list[i]);
    }
    return text;
}

bool YProfileTextForm<YTabState>::Parse(std::u16string_view text, YTabState& state,
                                        bool& converted) {
    const std::size_t semicolon = text.find(u';');
    if (semicolon == std::u16string_view::npos) {
        converted = true;
        return ParseOlderForm(text, state);
    }
    const auto head = Split(text.substr(0, semicolon), u',');
    std::int32_t first = 0;
    std::int32_t second = 0;
    if (head.size() != 3 || !ParseInt32(head[0], first) || !ParseInt32(head[1], second) ||
        !ParseInt32(head[2], state.number)) {
        return false;
    }
    state.firstFlag = first != 0;
    state.secondFlag = second != 0;
    state.list.clear();
    const std::u16string_view tail = text.substr(semicolon + 1);
    if (TrimBlanks(tail).empty()) {
        return true;
    }
    for (std::u16string_view piece : Split(tail, u',')) {
        std::int32_t number = 0;
        if (!ParseInt32(piece, number)) {
            return false;
        }
        state.list.push_back(number);
    }
    return true;
}
