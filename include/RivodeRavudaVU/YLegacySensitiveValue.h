// Moving a sensitive value from an older stored form to its enciphered " V2" value.
//
// Older configurations keep some sensitive values under a name K in one of the older text forms.
// The current form lives under "K V2". A record that owns such a value calls
// UpgradeLegacySensitiveValue after initialising its V2 member from the same key.
#pragma once

#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <string_view>

#pragma GCC visibility push(default)

enum class YLegacyTextForm {
    DoubleBlowfish,       // the double-Blowfish text of older session values (mode 0)
    DoubleBlowfishMode1,  // little-endian words, no chaining, 32 key bytes
    DoubleBlowfishMode2,  // little-endian words, chaining, 16 key bytes
    Capi,                 // "CAPI:" text under the user's own data-protection key
    Encoded,              // the XOR-encoded text
    Plain,                // the text as it stands
};

// When key holds a string legacyName that is not empty and no string named legacyName + " V2":
// decodes the legacy text, writes legacyName back as an empty string and, unless sensitive data
// is disabled, enciphers the plaintext under the current configuration passphrase into upgraded
// (whose name the caller has set to the V2 name; the caller saves it, as for any changed value).
//
// Returns true when the value was upgraded. false, changing nothing, when there is nothing to
// upgrade, when the legacy text does not decode (it stays stored, so no data is lost), or when
// the key refused the write.
bool UpgradeLegacySensitiveValue(const YProfileKey& key, std::u16string_view legacyName,
                                 YLegacyTextForm form, YProfileEncryptedString& upgraded);

#pragma GCC visibility pop
