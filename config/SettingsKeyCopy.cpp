#include "config/SettingsKeyCopy.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YEncryptedString.h>

#include "storage/ciphers/EncryptedText.h"
#include "storage/ciphers/SecretText.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace rivode::config {

namespace {

bool IsEncipheredText(const YUnicodeString& text) {
    std::vector<std::uint8_t> cipherText;
    return CryptUtils::DecodeEncryptedText(text, cipherText);
}

// The reason the source or destination key gave, else the value that could not be moved.
bool FailValue(const YProfileKey& destination, const YProfileKey& source,
               const YUnicodeString& name, YReportMessageParams& report) {
    if (!source.GetStatus().IsSuccess()) {
        report = source.GetStatus();
    } else if (!destination.GetStatus().IsSuccess()) {
        report = destination.GetStatus();
    } else {
        report.SetMessage(rivode::msg::SettingsValueNotCopied);
        report.AddString(name);
    }
    return false;
}

// String values pass through the policy, which may leave them out or re-encipher them; every
// other kind is copied as it is.
bool CopyValue(const YProfileKey& destination, const YProfileKey& source,
               const YUnicodeString& name, int kind, SensitiveValuePolicy& policy) {
    if (kind != ValueKindString) {
        return CopyProfileValue(destination, source, name, kind);
    }
    YUnicodeString value;
    if (!source.GetString(name, value)) {
        return false;
    }
    const bool pass = policy.Pass(value);
    const bool written = !pass || destination.SetString(name, value);
    rivode::storage::WipeText(value);
    return written;
}

}  // namespace

SensitiveValuePolicy SensitiveValuePolicy::Reencipher(YUnicodeString from, YUnicodeString to) {
    SensitiveValuePolicy policy(Mode::Reencipher);
    policy.from_ = std::move(from);
    policy.to_ = std::move(to);
    return policy;
}

SensitiveValuePolicy::~SensitiveValuePolicy() {
    rivode::storage::WipeText(from_);
    rivode::storage::WipeText(to_);
}

bool SensitiveValuePolicy::Pass(YUnicodeString& text) {
    if (mode_ == Mode::Keep || !IsEncipheredText(text)) {
        return true;
    }
    if (mode_ == Mode::Drop) {
        ++dropped;
        return false;
    }
    YEncryptedString value;
    value.SetEncryptedText(text);
    YUnicodeString plaintext;
    if (!value.GetPlaintext(plaintext, from_)) {
        ++notDeciphered;
        return true;
    }
    YEncryptedString converted;
    const bool enciphered = converted.SetPlaintext(plaintext, to_);
    rivode::storage::WipeText(plaintext);
    if (!enciphered) {
        ++notDeciphered;
        return true;
    }
    text = converted.GetEncryptedText();
    ++reenciphered;
    return true;
}

bool CopySettingsKey(const YProfileKey& destination, const YProfileKey& source,
                     SensitiveValuePolicy& policy,
                     std::initializer_list<std::u16string_view> skipValues, CopyStoring storing,
                     YReportMessageParams& report) {
    YProfileKeyIterator values(source, true);
    YUnicodeString name;
    int kind = ValueKindUnknown;
    while (values.Next(name, kind)) {
        if (std::find(skipValues.begin(), skipValues.end(), name) != skipValues.end()) {
            continue;
        }
        if (!CopyValue(destination, source, name, kind, policy)) {
            return FailValue(destination, source, name, report);
        }
    }
    YProfileKeyIterator subKeys(source, false);
    while (subKeys.Next(name)) {
        const YProfileKey sourceChild(source, name);
        // Only a key with subkeys is opened to create: a folder store makes a folder for
        // every key so opened, and a session must stay a file of values.
        YUnicodeString grandchild;
        const bool hasSubKeys = YProfileKeyIterator(sourceChild, false).Next(grandchild);
        const YProfileKey destinationChild(destination, name, hasSubKeys);
        if (!CopySettingsKey(destinationChild, sourceChild, policy, {}, storing, report)) {
            return false;
        }
        // Stored now, so a full disk is reported here instead of lost in a destructor.
        if (storing == CopyStoring::EachKey && !destinationChild.Flush()) {
            report = destinationChild.GetStatus();
            return false;
        }
    }
    return true;
}

}  // namespace rivode::config
