// A string value of older configurations stored reversibly encoded: eight hexadecimal digits of a
// 4-byte mask, then two digits for each byte of the value (8-bit Windows-1252 text), each byte
// combined by exclusive-or with mask byte (index mod 4). It hides a value from a glance, nothing
// more.
//
// The value held is the plaintext: reading decodes the stored text, writing encodes the value.
// A stored text that does not decode reads as absent (the default stays).
#pragma once

#include <RivodeRavudaVU/YProfileCodedString.h>

#include <string_view>

#pragma GCC visibility push(default)

class YProfileEncodedString : public YProfileCodedString<YProfileEncodedString> {
public:
    using YProfileCodedString::YProfileCodedString;
    using YProfileCodedString::operator=;

    // The stored form of plaintext, in lower-case digits under a fresh mask; an empty value gives
    // an empty text. false when a character has no Windows-1252 byte.
    [[nodiscard]] static bool Encode(const YUnicodeString& plaintext, YUnicodeString& text);
    // An empty text gives an empty plaintext. false, plaintext unchanged, for a text shorter than
    // the mask, an odd number of digits or any other character.
    [[nodiscard]] static bool Decode(std::u16string_view text, YUnicodeString& plaintext);
};

#pragma GCC visibility pop
