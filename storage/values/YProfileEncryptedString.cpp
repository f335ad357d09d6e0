#include <RivodeRavudaVU/YProfileEncryptedString.h>

#include <RivodeRavudaVU/ConfigPassphrase.h>

#include "storage/ciphers/SecretText.h"

YUnicodeString GetProfileEncryptedPlaintextString(const YProfileEncryptedString& value) {
    YUnicodeString plaintext;
    if (IsConfigPassphraseDisabled()) {
        return plaintext;
    }
    YUnicodeString passphrase = GetConfigPassphrase();
    if (!value.GetPlaintext(plaintext, passphrase)) {
        plaintext.clear();
    }
    rivode::storage::WipeText(passphrase);
    return plaintext;
}

bool UpdateProfileEncryptedString(YProfileEncryptedString& value, const YUnicodeString& plaintext) {
    if (IsConfigPassphraseDisabled()) {
        return false;
    }
    YUnicodeString passphrase = GetConfigPassphrase();
    const bool updated = value.SetPlaintext(plaintext, passphrase);
    rivode::storage::WipeText(passphrase);
    return updated;
}
