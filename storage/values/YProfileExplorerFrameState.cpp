#include <RivodeRavudaVU/YProfileExplorerFrameState.h>

#include "storage/values/YProfileNumberText.h"

using namespace rivode::storage;

YUnicodeString YProfileTextForm<YExplorerFrameState>::Format(const YExplorerFrameState& state) {
    YUnicodeString text;
    AppendDecimal(text, state.flag ? 1 : 0);
    text.push_back(u',');
    AppendDecimal(text, state.first);
    text.push_back(u',');
    AppendDecimal(text, state.second);
    return text;
}

bool YProfileTextForm<YExplorerFrameState>::Parse(std::u16string_view text,
                                                  YExplorerFrameState& state, bool&) {
    const auto pieces = Split(text, u',');
    std::int32_t flag = 0;
    if (pieces.size() != 3 || !ParseInt32(pieces[0], flag) || !ParseInt32(pieces[1], state.first) ||
        !ParseInt32(pieces[2], state.second)) {
        return false;
    }
    state.flag = flag != 0;
    return true;
}
