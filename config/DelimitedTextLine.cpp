#include "config/DelimitedTextLine.h"

namespace rivode::config {

void SplitDelimitedLine(std::u16string_view line, char16_t delimiter, DelimitedLine& out) {
    out.unclosedQuoteColumn = 0;
    std::size_t count = 0;
    const auto next = [&out, &count]() -> YUnicodeString& {
        if (count == out.values.size()) {
            out.values.emplace_back();
        }
        YUnicodeString& value = out.values[count++];
        value.clear();
        return value;
    };
    YUnicodeString* value = &next();
    if (delimiter == kNoDelimiter) {
        value->assign(line);
        out.values.resize(count);
        return;
    }
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (c == u'"') {
            quoted = !quoted;
            out.unclosedQuoteColumn = quoted ? i + 1 : 0;
        } else if (c == delimiter && !quoted) {
            value = &next();
        } else {
            value->push_back(c);
        }
    }
    out.values.resize(count);
}

}  // namespace rivode::config
