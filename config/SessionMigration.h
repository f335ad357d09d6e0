// Older stored forms of session values, moved to their current names while a session loads.
#pragma once

#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <string_view>

namespace rivode::config {

// When key holds a non-empty plain text under legacyName and nothing under legacyName + " V2":
// enciphers the text into value (whose name is the V2 name) and writes it into key at once,
// together with the emptied older value, so that a session loaded and never saved keeps it.
// While sensitive data is disabled the text could not be enciphered and would be lost, so it
// stays where it is until a later load.
void UpgradePlainSensitiveValue(const YProfileKey& key, std::u16string_view legacyName,
                                YProfileEncryptedString& value);

// UpgradePlainSensitiveValue as the upgrade of a table row whose value is a
// YProfileEncryptedString (the row's older name is the plain text's name).
template <class Record>
void EncipherOlderPlainText(Record&, YProfileData& value, std::u16string_view olderName,
                            const YProfileKey& key) {
    UpgradePlainSensitiveValue(key, olderName, static_cast<YProfileEncryptedString&>(value));
}

}  // namespace rivode::config
