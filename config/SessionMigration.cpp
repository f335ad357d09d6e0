#include "config/SessionMigration.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/YLegacySensitiveValue.h>

namespace rivode::config {

void UpgradePlainSensitiveValue(const YProfileKey& key, std::u16string_view legacyName,
                                YProfileEncryptedString& value) {
    if (!IsConfigPassphraseDisabled() &&
        UpgradeLegacySensitiveValue(key, legacyName, YLegacyTextForm::Plain, value)) {
        // A refused write leaves the value changed, so the session's next save tries again.
        (void)value.Save(key);
    }
}

}  // namespace rivode::config
