// A string value held as its plaintext and stored in a coded form of its own. Derived supplies
//   static bool Encode(const YUnicodeString& plaintext, YUnicodeString& text);
//   static bool Decode(std::u16string_view text, YUnicodeString& plaintext);
// A stored text that does not decode reads as absent (the default stays); a value that does not
// encode is not written.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <string_view>

#pragma GCC visibility push(default)

template <class Derived>
class YProfileCodedString : public YProfile2<YUnicodeString, YProfileSz> {
public:
    using YProfile2::YProfile2;
    using YProfile2::operator=;

    bool ReadSz(const YProfileKey& key, YUnicodeString& value) const override {
        YUnicodeString text;
        return YProfileSz::ReadSz(key, text) && Derived::Decode(text, value);
    }
    bool WriteSz(const YProfileKey& key, const YUnicodeString& value) const override {
        YUnicodeString text;
        return Derived::Encode(value, text) && YProfileSz::WriteSz(key, text);
    }
};

#pragma GCC visibility pop
