// YProfileMultiLineString: free text of several lines (a description) stored as a multi-string
// value, one text per line.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <string_view>

#pragma GCC visibility push(default)

class YProfileMultiLineString : public YProfile2<YStringArray, YProfileMultiSz> {
public:
    YProfileMultiLineString() = default;
    YProfileMultiLineString(YUnicodeString name, const YStringArray& defaultValue = {})
        : YProfile2(std::move(name), defaultValue) {}
    YProfileMultiLineString(const YProfileMultiLineString&) = default;
    using YProfile2::operator=;
    using YProfile2::Load;

    // Sets the name, then loads. When the value is absent the list becomes empty, the value is
    // pending and the baseline is the empty list. Returns whether the value was read.
    bool Load(const YProfileKey* key, YUnicodeString name);

    // The lines joined with CR LF, as an edit control shows them, and back (CR LF, LF or CR
    // each end a line).
    YUnicodeString GetText() const;
    void SetText(std::u16string_view text);
};

#pragma GCC visibility pop
