#include <RivodeRavudaVU/YLegacySensitiveValue.h>

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/YBlowfishString.h>
#include <RivodeRavudaVU/YProfileCapiString.h>
#include <RivodeRavudaVU/YProfileEncodedString.h>

#include "storage/ciphers/SecretText.h"

namespace {

bool DecodeLegacyText(const YUnicodeString& text, YLegacyTextForm form, YUnicodeString& plaintext) {
    switch (form) {
        case YLegacyTextForm::DoubleBlowfish:
            return YBlowfishString(text, 0).Decode(plaintext);
        case YLegacyTextForm::DoubleBlowfishMode1:
            return YBlowfishString(text, 1).Decode(plaintext);
        case YLegacyTextForm::DoubleBlowfishMode2:
            return YBlowfishString(text, 2).Decode(plaintext);
        case YLegacyTextForm::Capi:
            return YProfileCapiString::Decode(text, plaintext);
        case YLegacyTextForm::Encoded:
            return YProfileEncodedString::Decode(text, plaintext);
        case YLegacyTextForm::Plain:
            plaintext = text;
            return true;
    }
    return false;
}

}  // namespace

bool UpgradeLegacySensitiveValue(const YProfileKey& key, std::u16string_view legacyName,
                                 YLegacyTextForm form, YProfileEncryptedString& upgraded) {
    YUnicodeString legacyText;
    YUnicodeString newerText;
    if (!key.GetString(legacyName, legacyText) || legacyText.empty() ||
        key.GetString(YUnicodeString(legacyName) + u" V2", newerText)) {
        return false;
    }
    YUnicodeString plaintext;
    if (!DecodeLegacyText(legacyText, form, plaintext)) {
        return false;
    }
    // Enciphered before the older value is cleared, so that a failure loses nothing.
    YEncryptedString enciphered = upgraded;
    bool ready = true;
    if (!IsConfigPassphraseDisabled()) {
        YUnicodeString passphrase = GetConfigPassphrase();
        ready = enciphered.SetPlaintext(plaintext, passphrase);
        rivode::storage::WipeText(passphrase);
    }
    rivode::storage::WipeText(plaintext);
    rivode::storage::WipeText(legacyText);
    if (!ready || !key.SetString(legacyName, u"")) {
        return false;
    }
    upgraded = enciphered;
    return true;
}
