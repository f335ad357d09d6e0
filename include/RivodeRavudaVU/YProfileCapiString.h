// A sensitive string value of older configurations, stored in the "CAPI:" form: "CAPI:" followed
// by upper-case hexadecimal of the value (UTF-16 with its terminating zero) protected for the
// current user. Only the user who stored it can read it back, on the same machine.
//
// The value held is the plaintext: reading unprotects the stored text, writing protects the
// value. A stored text that does not unprotect reads as absent (the default stays).
#pragma once

#include <RivodeRavudaVU/YProfileCodedString.h>

#include <string_view>

#pragma GCC visibility push(default)

class YProfileCapiString : public YProfileCodedString<YProfileCapiString> {
public:
    using YProfileCodedString::YProfileCodedString;
    using YProfileCodedString::operator=;

    // The stored form of plaintext. false when the user's key cannot be made or read.
    [[nodiscard]] static bool Encode(const YUnicodeString& plaintext, YUnicodeString& text);
    // The plaintext of a stored text, with or without its "CAPI:" prefix; an empty text gives an
    // empty plaintext. false, plaintext unchanged, for an odd number of digits, any other
    // character, or a text protected by another user or damaged.
    [[nodiscard]] static bool Decode(std::u16string_view text, YUnicodeString& plaintext);
};

#pragma GCC visibility pop
