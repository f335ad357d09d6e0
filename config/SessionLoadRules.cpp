// The values a session key may hold in older forms, or not at all, settled after loading.
#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/YProfileCapiString.h>

#include <DavaraZE/YwsPaths.h>

#include "config/SessionMigration.h"
#include "platform/Environment.h"
#include "platform/UserFolders.h"
#include "storage/ciphers/SecretText.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::uint32_t kDefaultIdleTimeout = 300;
constexpr std::uint32_t kLongestIdleTimeout = 9999999;
// Older versions stored the XModem packet size they always used; 0 now means that size.
constexpr std::uint32_t kClassicXmodemPacketSize = 128;

// value takes settled as if it had been loaded: not a change of the record, but written on the
// next save.
template <class Value>
void Settle(Value& value, const typename Value::ValueType& settled) {
    if (!(value.Get() == settled)) {
        value.Init(nullptr, value.GetName(), settled);
    }
}

// The default computed now, for a value the store did not hold.
template <class Value>
void DeriveDefault(Value& value, const typename Value::ValueType& derived) {
    if (!value.IsFromStore()) {
        value.Init(nullptr, value.GetName(), derived);
    }
}

std::optional<std::uint32_t> StoredDword(const YProfileKey* key, std::u16string_view name) {
    std::uint32_t value = 0;
    if (key == nullptr || !key->GetDword(name, value)) {
        return std::nullopt;
    }
    return value;
}

// A folder of the user's desktop ("XDG_DOWNLOAD_DIR").
std::optional<YUnicodeString> UserFolder(std::string_view name) {
    const std::optional<std::string> folder = rivode::platform::GetUserFolder(name);
    return folder ? std::optional(rivode::FromUtf8(*folder)) : std::nullopt;
}

// The known folder, else the documents folder or the family's user-data folder with the
// leaf name appended: transfers never land loose in those shared folders.
YUnicodeString TransferFolder(std::optional<YUnicodeString> known, std::u16string_view leaf) {
    if (known) {
        return *known;
    }
    const YUnicodeString base = UserFolder("XDG_DOCUMENTS_DIR").value_or(GetYwsUserDataPathSub());
    return base + u"/" + YUnicodeString(leaf);
}

std::optional<YUnicodeString> HomeFolder() {
    const std::string home = rivode::platform::GetHomeFolder();
    return home.empty() ? std::nullopt : std::optional(rivode::FromUtf8(home));
}

}  // namespace

void SessionConfig::SettleLoadedValues(const YProfileKey* key) {
    Settle(isSession, true);
    if (key != nullptr) {
        UpgradeLoginScript(*key);
        rivode::config::UpgradePlainSensitiveValue(*key, u"Monitor Password", monitorPassword);
        rivode::config::UpgradePlainSensitiveValue(*key, u"PGP Upload Command", pgpUploadCommand);
        rivode::config::UpgradePlainSensitiveValue(*key, u"PGP Download Command",
                                                   pgpDownloadCommand);
    }

    if (const auto style = StoredDword(key, u"Highlighting Style")) {
        DeriveDefault(highlightReverseVideo, *style == 0 || *style > 2);
        DeriveDefault(highlightBold, *style == 1);
        DeriveDefault(highlightColor, *style == 2);
    }
    // The older trace levels started one lower, except for off (0) and the levels above 7.
    if (const auto older = StoredDword(key, u"Quillfile Trace Level")) {
        DeriveDefault(quillfileTraceLevel, *older >= 1 && *older <= 7 ? *older + 1 : *older);
    }

    DeriveDefault(idleCheck, idleTimeout.IsFromStore() && idleTimeout > 0);
    Settle(idleTimeout, idleTimeout == 0 ? kDefaultIdleTimeout
                                         : std::min<std::uint32_t>(idleTimeout, kLongestIdleTimeout));
    if (xmodemSendPacketSize == kClassicXmodemPacketSize) {
        Settle(xmodemSendPacketSize, 0u);
    }

    if (!lineSendDelay.IsFromStore() || !characterSendDelay.IsFromStore()) {
        const YRefPtr<GlobalConfig> global = GetGlobalConfig();
        DeriveDefault(lineSendDelay, global->lineSendDelay.Get());
        DeriveDefault(characterSendDelay, global->characterSendDelay.Get());
    }
    DeriveDefault(keywordSet, LoadMessageString(rivode::msg::DefaultKeywordListName));
    DeriveDefault(uploadDirectory, TransferFolder(HomeFolder(), u"upload"));
    DeriveDefault(downloadDirectory, TransferFolder(UserFolder("XDG_DOWNLOAD_DIR"), u"download"));
}

void SessionConfig::UpgradeLoginScript(const YProfileKey& key) {
    // Without a passphrase the list could not be enciphered; the older text stays for later.
    if (loginScript.IsFromStore() || IsConfigPassphraseDisabled()) {
        return;
    }
    YUnicodeString newer;
    YUnicodeString older;
    const bool hasNewer = key.GetString(u"Login Script V2", newer) && !newer.empty();
    const bool hasOlder = key.GetString(u"Login Script", older) && !older.empty();
    YUnicodeString script;
    if (hasNewer) {
        YProfileEncryptedString enciphered;
        enciphered.SetEncryptedText(newer);
        script = GetProfileEncryptedPlaintextString(enciphered);
    }
    // A newer text that does not decipher (another passphrase) is kept as it is.
    const bool newerRead = !script.empty();
    if (script.empty() && hasOlder) {
        // The platform-protected form is recognised by its prefix; other texts are plain.
        if (!older.starts_with(u"CAPI:")) {
            script = older;
        } else if (!YProfileCapiString::Decode(older, script)) {
            script.clear();
        }
    }
    if (script.empty()) {
        return;
    }
    bool sendInitialReturn = true;
    const bool enciphered =
        loginScript.SetPairs(ProfileExpectSendList::ParseOlderScript(script, sendInitialReturn));
    rivode::storage::WipeText(script);
    if (!enciphered) {
        return;
    }
    sendInitialCarriageReturn = sendInitialReturn;
    // The older texts are emptied in the key right away, so the converted list goes into the
    // same key now: a session that is loaded and never saved keeps its script. A refused write
    // leaves the values changed, so the session's next save tries again.
    (void)loginScript.Save(key);
    (void)sendInitialCarriageReturn.Save(key);
    for (const auto& [name, emptied] : {std::pair{u"Login Script V2", newerRead},
                                        std::pair{u"Login Script", hasOlder}}) {
        if (emptied) {
            (void)key.SetString(name, u"");
        }
    }
}
