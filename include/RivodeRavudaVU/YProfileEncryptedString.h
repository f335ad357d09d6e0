// A sensitive profile value: stored as its enciphered "02:" text in a string value.
//
// Loading and saving move the enciphered text only; nothing is deciphered until a caller asks
// for the plaintext, so copying a record or renaming a value carries the text unchanged, and
// IsChanged compares enciphered texts. Use it as a record member like any typed value:
//   .Add(&Record::password, u"Password V2", YEncryptedString{})
#pragma once

#include <RivodeRavudaVU/YEncryptedString.h>
#include <RivodeRavudaVU/YProfile2.h>

#pragma GCC visibility push(default)

template <>
struct YProfileCodec<YEncryptedString, YProfileSz> {
    static bool Read(const YProfileSz& storage, const YProfileKey& key, YEncryptedString& value,
                     bool&) {
        YUnicodeString text;
        if (!storage.ReadSz(key, text)) {
            return false;
        }
        value.SetEncryptedText(std::move(text));
        return true;
    }
    static bool Write(const YProfileSz& storage, const YProfileKey& key,
                      const YEncryptedString& value) {
        return storage.WriteSz(key, value.GetEncryptedText());
    }
};

// The baseline keeps the enciphered text only, shared as text baselines are (most are empty):
// the value compares texts, and taking the baseline back changes the text, not the random
// source the value was given.
template <>
class YProfileBaseline<YEncryptedString> {
public:
    explicit YProfileBaseline(const YEncryptedString& value) : text_(value.GetEncryptedText()) {}

    YEncryptedString Get() const {
        YEncryptedString value;
        RestoreTo(value);
        return value;
    }
    bool Equals(const YEncryptedString& current) const {
        return text_.Equals(current.GetEncryptedText());
    }
    void Set(const YEncryptedString& value) { text_.Set(value.GetEncryptedText()); }
    void RestoreTo(YEncryptedString& current) const {
        current.SetEncryptedText(YUnicodeString(text_.Get()));
    }

private:
    YProfileBaseline<YUnicodeString> text_;
};

class YProfileEncryptedString : public YProfile2<YEncryptedString, YProfileSz> {
public:
    using YProfile2::YProfile2;
    using YProfile2::operator=;
    YProfileEncryptedString(const YProfileEncryptedString&) = default;
};

// The plaintext of value under the current configuration passphrase. Empty when the value does
// not decipher under it, and empty without trying while sensitive data is disabled.
YUnicodeString GetProfileEncryptedPlaintextString(const YProfileEncryptedString& value);

// Enciphers plaintext under the current configuration passphrase into value (which the caller
// saves). false, value unchanged, while sensitive data is disabled or when enciphering failed.
[[nodiscard]] bool UpdateProfileEncryptedString(YProfileEncryptedString& value,
                                                const YUnicodeString& plaintext);

#pragma GCC visibility pop
