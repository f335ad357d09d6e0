#include "config/SensitiveDataConversion.h"

#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "config/SessionDatabaseTree.h"
#include "storage/ciphers/SecretText.h"
#include "storage/ini/ValueFile.h"

namespace rivode::config {
namespace {

bool Deciphers(const YEncryptedString& value, const YUnicodeString& passphrase,
               YUnicodeString& plaintext) {
    return value.GetPlaintext(plaintext, passphrase);
}

// Ends a step's batch: when the final sync fails, no save of the step is known to be on the
// disk, so every record saved counts as failed.
void EndBatch(storage::ValueFileSyncBatch& batch, SensitiveValueConverter& converter,
              std::size_t saved) {
    if (const storage::ValueFileError error = batch.End()) {
        YReportMessageParams status;
        SetFileErrorReport(status, error.error, error.path);
        converter.counts.recordsFailed += saved;
        if (converter.firstFailure.GetMessageId() == 0) {
            converter.firstFailure = status;
        }
    }
}

void ConvertSessions(SensitiveValueConverter& converter, const SensitiveDataProgress& progress) {
    storage::ValueFileSyncBatch batch;
    std::size_t saved = 0;
    std::size_t done = 0;
    {
        const SessionTree tree;
        WalkSessions(tree.Sessions(), {}, [&](const YUnicodeString& path, const YProfileKey& key) {
            ++converter.counts.records;
            const YRefPtr<SessionConfig> session = CreateSessionConfig();
            session->SetPath(path);
            session->Load(&key);
            bool changed = false;
            session->ForEachValue([&](YProfileData& value) {
                if (auto* secret = dynamic_cast<YProfileEncryptedString*>(&value)) {
                    changed = converter.Convert(*secret) || changed;
                }
            });
            if (changed) {
                if (session->Save(key) && key.Flush()) {
                    ++saved;
                } else {
                    converter.RecordFailed(path, key.GetStatus());
                }
            }
            progress(++done);
        });
    }
    EndBatch(batch, converter, saved);
}

void ConvertCredentials(SensitiveValueConverter& converter, const SensitiveDataProgress& progress) {
    storage::ValueFileSyncBatch batch;
    std::size_t saved = 0;
    std::size_t done = 0;
    {
        YProfileStore store;
        if (!store.GetRootKey().SubKeyExists(kCredentialsKeyName)) {
            return;
        }
        const YProfileKey credentials(store.GetRootKey(), kCredentialsKeyName);
        for (const YUnicodeString& title : GetSavedCredentialTitles()) {
            ++converter.counts.records;
            const YProfileKey key(credentials, title);
            SavedCredential credential;
            credential.Load(&key);
            if (converter.Convert(credential.password)) {
                if (credential.password.Save(key) && key.Flush()) {
                    ++saved;
                } else {
                    converter.RecordFailed(title, key.GetStatus());
                }
            }
            progress(++done);
        }
    }
    EndBatch(batch, converter, saved);
}

void ConvertFirewalls(SensitiveValueConverter& converter, const SensitiveDataProgress& progress) {
    storage::ValueFileSyncBatch batch;
    std::size_t saved = 0;
    std::size_t done = 0;
    {
        YProfileStore store;
        if (!store.GetRootKey().SubKeyExists(kFirewallsKeyName)) {
            return;
        }
        const YProfileKey firewalls(store.GetRootKey(), kFirewallsKeyName);
        for (const YUnicodeString& name : GetFirewallNames()) {
            if (name == kNoFirewall) {  // listed first, never stored
                continue;
            }
            ++converter.counts.records;
            const YProfileKey key(firewalls, name);
            const YRefPtr<FirewallConfig> firewall = CreateFirewallConfig(name);
            firewall->Load(&key);
            if (converter.Convert(firewall->password)) {
                if (firewall->password.Save(key) && key.Flush()) {
                    ++saved;
                } else {
                    converter.RecordFailed(name, key.GetStatus());
                }
            }
            progress(++done);
        }
    }
    EndBatch(batch, converter, saved);
}

}  // namespace

SensitiveValueConverter::SensitiveValueConverter(std::optional<YUnicodeString> oldPassphrase,
                                                 YUnicodeString newPassphrase)
    : old_(std::move(oldPassphrase)), new_(std::move(newPassphrase)) {}

SensitiveValueConverter::~SensitiveValueConverter() {
    if (old_) {
        storage::WipeText(*old_);
    }
    storage::WipeText(new_);
}

bool SensitiveValueConverter::Convert(YProfileEncryptedString& value) {
    if (value.GetEncryptedText().empty()) {
        return false;
    }
    YUnicodeString plaintext;
    if (Deciphers(value, new_, plaintext)) {
        storage::WipeText(plaintext);
        ++counts.converted;
        return false;
    }
    bool known = old_ && Deciphers(value, *old_, plaintext);
    if (!known && !old_) {
        plaintext.clear();
        known = true;
    }
    if (!known) {
        ++counts.notConverted;
        return false;
    }
    YEncryptedString converted;
    const bool enciphered = converted.SetPlaintext(plaintext, new_);
    storage::WipeText(plaintext);
    if (!enciphered) {
        ++counts.notConverted;
        return false;
    }
    value = converted;
    ++counts.converted;
    return true;
}

void SensitiveValueConverter::RecordFailed(const YUnicodeString& name,
                                           const YReportMessageParams& status) {
    ++counts.recordsFailed;
    if (firstFailure.GetMessageId() == 0) {
        FailWith(status, msg::SensitiveDataSaveFailed, name, firstFailure);
    }
}

const std::vector<SensitiveDataStep>& GetSensitiveDataSteps() {
    static const std::vector<SensitiveDataStep> steps = {
        {u"Firewalls", ConvertFirewalls},
        {u"Sessions", ConvertSessions},
        {u"Credentials", ConvertCredentials},
    };
    return steps;
}

}  // namespace rivode::config
