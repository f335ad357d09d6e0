#include "cli/SensitiveValueInput.h"

#include "cli/CommandStore.h"
#include "cli/SessionCommandSupport.h"
#include "cli/StandardInput.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YEncryptedString.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>

#include "storage/SecretText.h"

namespace rivode::cli {

using rivode::storage::WipeText;

bool ChooseConfigPassphrase(const CommandOptions& options, bool fromInput,
                            YUnicodeString& passphrase, CommandFailure& failure) {
    CommandStore store(options.folders, true);
    YEncryptedString check;
    if (store.Root().SubKeyExists(kGlobalKeyName)) {
        const YProfileKey global(store.Root(), kGlobalKeyName, false);
        YUnicodeString text;
        if (global.GetString(u"Config Passphrase", text)) {
            check.SetEncryptedText(std::move(text));
        }
    }
    const auto deciphers = [&check](const YUnicodeString& candidate) {
        YUnicodeString plaintext;
        const bool correct = check.GetPlaintext(plaintext, candidate);
        WipeText(plaintext);
        return correct;
    };
    if (fromInput) {
        if (!ReadInputText("Configuration passphrase: ", "passphrase", true, passphrase, failure)) {
            return false;
        }
        if (check.GetEncryptedText().empty() ? passphrase.empty() : deciphers(passphrase)) {
            return true;
        }
        YReportMessageParams incorrect(rivode::msg::PassphraseIncorrect);
        failure = ReportFailure(incorrect);
        return false;
    }
    if (check.GetEncryptedText().empty()) {
        passphrase.clear();
        return true;
    }
    for (YUnicodeString candidate : {GetConfigPassphrase(), YUnicodeString()}) {
        if (deciphers(candidate)) {
            passphrase = std::move(candidate);
            return true;
        }
        WipeText(candidate);
    }
    failure = UsageFailure(
        "the configuration has a passphrase: give it on the first line of standard input with "
        "--passphrase-stdin");
    return false;
}

// The stored text is all rivode shows of the value, so a plaintext never comes from the command
// line.
bool SetEncryptedValue(const CommandOptions& options, YProfileData& value, bool fromInput,
                       CommandFailure& failure, const char* prompt) {
    auto* encrypted = dynamic_cast<YProfileEncryptedString*>(&value);
    YUnicodeString passphrase;
    YUnicodeString plaintext;
    if (encrypted == nullptr || !ChooseConfigPassphrase(options, fromInput, passphrase, failure) ||
        !ReadInputText(prompt, "value", true, plaintext, failure)) {
        return false;
    }
    // Starting from the stored text lets the same plaintext keep it: new padding would rewrite
    // the value, and its file, for nothing.
    YEncryptedString text = encrypted->Get();
    const bool enciphered = text.SetPlaintext(plaintext, passphrase);
    WipeText(plaintext);
    WipeText(passphrase);
    if (!enciphered) {
        failure = StoreFailure("the value could not be encrypted");
        return false;
    }
    encrypted->Set(text);
    return true;
}

}  // namespace rivode::cli
