#include <RivodeRavudaVU/YProfileListViewState.h>

#include "storage/values/YProfileNumberText.h"

using namespace rivode::storage;

namespace {

constexpr std::size_t kHeaderFields = 5;

}  // namespace

YUnicodeString YProfileTextForm<YListViewState>::Format(const YListViewState& state) {
    YUnicodeString text;
    AppendDecimal(text, state.flag ? 1 : 0);
    text.push_back(u',');
    AppendDecimal(text, state.first);
    text.push_back(u',');
    AppendDecimal(text, state.second);
    text.push_back(u',');
    AppendDecimal(text, state.third);
    text.push_back(u',');
    AppendDecimal(text, static_cast<std::int64_t>(state.columns.size()));
    for (const YListViewColumn& column : state.columns) {
        text.push_back(u',');
        AppendDecimal(text, column.width);
        text.push_back(u',');
        AppendDecimal(text, column.visible ? 1 : 0);
        text.push_back(u',');
        AppendDecimal(text, column.order);
    }
    return text;
}

bool YProfileTextForm<YListViewState>::Parse(std::u16string_view text, YListViewState& state,
                                             bool&) {
    const auto pieces = Split(text, u',');
    // The five numbers and at least one token after them: a state without columns has nothing
    // a view could restore.
    if (pieces.size() <= kHeaderFields) {
        return false;
    }
    std::int32_t flag = 0;
    std::int64_t second = 0;
    std::int32_t count = 0;
    if (!ParseInt32(pieces[0], flag) || !ParseInt32(pieces[1], state.first) ||
        !ParseInteger(pieces[2], second) || !ParseInt32(pieces[3], state.third) ||
        !ParseInt32(pieces[4], count) || count < 0) {
        return false;
    }
    state.flag = flag != 0;
    // The unsigned field was written with an unsigned format; a signed text wraps as it did.
    state.second = static_cast<std::uint32_t>(second);

    const std::size_t tokens = pieces.size() - kHeaderFields;
    const auto columnCount = static_cast<std::size_t>(count);
    const bool widthsOnly = tokens == columnCount;
    if (!widthsOnly && tokens != 3 * columnCount) {
        return false;
    }
    state.columns.resize(columnCount);
    const std::size_t stride = widthsOnly ? 1 : 3;
    for (std::size_t i = 0; i < columnCount; ++i) {
        YListViewColumn& column = state.columns[i];
        const std::size_t at = kHeaderFields + i * stride;
        if (!ParseInt32(pieces[at], column.width)) {
            return false;
        }
        if (widthsOnly) {
            column.visible = true;
            column.order = static_cast<std::int32_t>(i);
            continue;
        }
        std::int32_t visible = 0;
        if (!ParseInt32(pieces[at + 1], visible) || !ParseInt32(pieces[at + 2], column.order)) {
            return false;
        }
        column.visible = visible != 0;
    }
    return true;
}
