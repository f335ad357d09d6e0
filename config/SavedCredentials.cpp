// Saved credentials as stored under "Credentials": listing, loading, the properties dialog's
// rules, saving (with a title change) and deleting.
#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionNameValidation.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <algorithm>

namespace msg = rivode::msg;

namespace {

bool Fail(std::uint32_t id, const YUnicodeString& title, YReportMessageParams& report) {
    report.SetMessage(id);
    report.AddString(title);
    return false;
}

bool FailWithStatus(std::uint32_t id, const YUnicodeString& title, const YProfileKey& key,
                    YReportMessageParams& report) {
    YReportMessageParams cause(key.GetStatus());
    WrapReport(report, id, {title}, cause);
    return false;
}

void Notify(int event) {
    if (const YRefPtr<CredentialDatabase> database = GetCredentialDatabase()) {
        database->Run(event);
    }
}

// Copies the credential from the key oldTitle to newTitle under credentials and removes the old
// key; the new key is complete on disk before the old one goes.
bool MoveCredentialKey(const YProfileKey& credentials, const YUnicodeString& oldTitle,
                       const YUnicodeString& newTitle, YReportMessageParams& report) {
    bool copied = false;
    {
        const YProfileKey source(credentials, oldTitle);
        YProfileKey target(credentials, newTitle);
        copied = CopyProfileKey(target, source) && target.Flush();
        if (!copied) {
            FailWithStatus(msg::CredentialSaveFailed, newTitle, target, report);
        }
    }
    if (!copied) {
        credentials.DeleteSubKey(newTitle);
        return false;
    }
    if (!credentials.DeleteSubKey(oldTitle)) {
        FailWithStatus(msg::CredentialSaveFailed, oldTitle, credentials, report);
        credentials.DeleteSubKey(newTitle);
        return false;
    }
    return true;
}

}  // namespace

SavedCredential::SavedCredential() {
    Init(nullptr);
}

const YProfileTable<SavedCredential>& SavedCredential::Table() {
    using C = SavedCredential;
    static const auto table =
        YProfileTable<C>()
            .Add(&C::username, u"Username", rivode::rows::Personal, u"")
            .Add(&C::password, u"Password V2", rivode::rows::Personal, YEncryptedString{});
    return table;
}

YStringArray GetSavedCredentialTitles() {
    YStringArray titles;
    YProfileStore store(true);
    if (!store.GetRootKey().SubKeyExists(kCredentialsKeyName)) {
        return titles;
    }
    const YProfileKey credentials(store.GetRootKey(), kCredentialsKeyName);
    YProfileKeyIterator iterator(credentials, false);
    for (YUnicodeString name; iterator.Next(name);) {
        titles.push_back(name);
    }
    return titles;
}

bool SavedCredentialExists(const YUnicodeString& title) {
    if (title.empty()) {
        return false;
    }
    YProfileStore store(true);
    return store.GetRootKey().SubKeyExists(YUnicodeString(kCredentialsKeyName) + u'\\' + title);
}

bool LoadSavedCredential(const YUnicodeString& title, SavedCredential& credential,
                         YReportMessageParams& report) {
    if (!SavedCredentialExists(title)) {
        return Fail(msg::CredentialNotFound, title, report);
    }
    YProfileStore store(true);
    const YProfileKey key(store.GetRootKey(), YUnicodeString(kCredentialsKeyName) + u'\\' + title);
    credential.Load(&key);
    if (key.GetStatus().GetMessageId() != 0) {
        return FailWithStatus(msg::CredentialLoadFailed, title, key, report);
    }
    // The stored spelling of the title, whatever case the caller used.
    YUnicodeString stored = title;
    for (const YUnicodeString& name : GetSavedCredentialTitles()) {
        if (rivode::EqualsNoCase(name, title)) {
            stored = name;
        }
    }
    credential.SetTitle(stored);
    return true;
}

bool ValidateSavedCredential(const YUnicodeString& originalTitle, const YUnicodeString& title,
                             const YUnicodeString& username, YReportMessageParams& report) {
    if (title.empty()) {
        report.SetMessage(msg::CredentialTitleRequired);
        return false;
    }
    if (const std::optional<char16_t> illegal = FindIllegalNameCharacter(title)) {
        report.SetMessage(msg::CredentialTitleIllegalCharacter);
        report.AddString(YUnicodeString(1, *illegal));
        return false;
    }
    const YUnicodeString kind = LoadMessageString(msg::ItemKindCredential);
    const bool isNew = originalTitle.empty();
    const bool takesAnotherTitle = isNew || !rivode::EqualsNoCase(title, originalTitle);
    if (takesAnotherTitle && SavedCredentialExists(title)) {
        return Fail(msg::CredentialTitleInUse, title, report);
    }
    if (!ValidateKeyName(originalTitle, title, isNew, kind, false, report)) {
        return false;
    }
    YProfileStore store(true);
    const YProfileKey credentials(store.GetRootKey(), kCredentialsKeyName);
    YRefPtr<YReportMessageParams> verdict;
    if (!credentials.CheckSubKeyName(title, &verdict)) {
        if (verdict) {
            report = *verdict;
        } else {
            Fail(msg::CredentialSaveFailed, title, report);
        }
        return false;
    }
    if (username.empty()) {
        report.SetMessage(msg::CredentialUsernameRequired);
        return false;
    }
    return true;
}

bool SaveSavedCredential(const YUnicodeString& originalTitle, SavedCredential& credential,
                         YReportMessageParams& report) {
    const YUnicodeString& title = credential.GetTitle();
    if (!ValidateSavedCredential(originalTitle, title, credential.username, report)) {
        return false;
    }
    const bool isNew = originalTitle.empty();
    const bool renamed = !isNew && title != originalTitle;
    {
        YProfileStore store;
        const YProfileKey credentials(store.GetRootKey(), kCredentialsKeyName, true);
        if (renamed && !MoveCredentialKey(credentials, originalTitle, title, report)) {
            return false;
        }
        const YProfileKey key(credentials, title);
        if (!credential.Save(key) || !key.Flush()) {
            return FailWithStatus(msg::CredentialSaveFailed, title, key, report);
        }
    }
    credential.CommitAll();
    Notify(isNew     ? kSavedCredentialAdded
           : renamed ? kSavedCredentialRenamed
                     : kSavedCredentialChanged);
    return true;
}

bool DeleteSavedCredential(const YUnicodeString& title, YReportMessageParams& report) {
    if (!SavedCredentialExists(title)) {
        return Fail(msg::CredentialNotFound, title, report);
    }
    {
        YProfileStore store;
        const YProfileKey credentials(store.GetRootKey(), kCredentialsKeyName);
        if (!credentials.DeleteSubKey(title)) {
            return FailWithStatus(msg::CredentialDeleteFailed, title, credentials, report);
        }
    }
    Notify(kSavedCredentialDeleted);
    return true;
}

YReportMessageParams GetDeleteSavedCredentialQuestion() {
    return YReportMessageParams(msg::DeleteCredentialConfirm);
}
