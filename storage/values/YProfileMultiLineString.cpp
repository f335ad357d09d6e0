#include <RivodeRavudaVU/YProfileMultiLineString.h>

bool YProfileMultiLineString::Load(const YProfileKey* key, YUnicodeString name) {
    SetName(std::move(name));
    if (Load(key)) {
        return true;
    }
    ResetTo({});
    SetPending(true);
    SetFromStore(false);
    return false;
}

YUnicodeString YProfileMultiLineString::GetText() const {
    YUnicodeString text;
    for (std::size_t i = 0; i < size(); ++i) {
        if (i != 0) {
            text += u"\r\n";
        }
        text += (*this)[i];
    }
    return text;
}

void YProfileMultiLineString::SetText(std::u16string_view text) {
    YStringArray lines;
    if (text.empty()) {
        Set(lines);
        return;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') {
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        }
        start = i + 1;
    }
    lines.emplace_back(text.substr(start));
    Set(lines);
}
