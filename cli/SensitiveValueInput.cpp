#include "SensitiveValueInput.h"

#include "PassphraseStartup.h"
#include "StandardInput.h"

#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YSecretText.h>

namespace rivode::cli {

// The stored text is all rivode shows of the value, so a plaintext never comes from the command
// line. The passphrase comes from the start-up flow, as for every command that needs secrets.
bool SetEncryptedValue(const CommandOptions& options, YProfileData& value, bool fromInput,
                       CommandFailure& failure, const char* prompt) {
    auto* encrypted = dynamic_cast<YProfileEncryptedString*>(&value);
    YSecretText plaintext;
    if (encrypted == nullptr || !EstablishPassphrase(options, fromInput, failure) ||
        !ReadInputText(prompt, "value", true, plaintext.Text(), failure)) {
        return false;
    }
    if (!UpdateProfileEncryptedString(*encrypted, plaintext.Text())) {
        failure = StoreFailure("the value could not be encrypted (sensitive data is off)");
        return false;
    }
    return true;
}

}  // namespace rivode::cli
