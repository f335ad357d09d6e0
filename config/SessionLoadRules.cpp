// The values a session key may hold in older forms, or not at all, settled after loading.
#include "config/SessionLoadRules.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YProfileCapiString.h>

#include <DavaraZE/YwsPaths.h>

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

std::optional<std::uint32_t> StoredDword(const YProfileKey* key, std::u16string_view name) {
    std::uint32_t value = 0;
    if (key == nullptr || !key->GetDword(name, value)) {
        return std::nullopt;
    }
    return value;
}

// A folder of the user's desktop ("XDG_DOWNLOAD_DIR").
std::optional<YUnicodeString> UserFolder(rivode::platform::UserFolders& folders,
                                         std::string_view name) {
    const std::optional<std::string> folder = folders.Get(name);
    return folder ? std::optional(rivode::FromUtf8(*folder)) : std::nullopt;
}

// The known folder, else the documents folder or the family's user-data folder with the
// leaf name appended: transfers never land loose in those shared folders.
YUnicodeString TransferFolder(std::optional<YUnicodeString> known, std::u16string_view leaf,
                              rivode::platform::UserFolders& folders) {
    if (known) {
        return *known;
    }
    const YUnicodeString base =
        UserFolder(folders, "XDG_DOCUMENTS_DIR").value_or(GetYwsUserDataPathSub());
    return base + u"/" + YUnicodeString(leaf);
}

std::optional<YUnicodeString> HomeFolder() {
    const std::string home = rivode::platform::GetHomeFolder();
    return home.empty() ? std::nullopt : std::optional(rivode::FromUtf8(home));
}

}  // namespace

namespace rivode::config {

void SettleIsSession(SessionConfig& session) {
    Settle(session.isSession, true);
}

void SettleIdleTimeout(SessionConfig& session) {
    const std::uint32_t timeout = session.idleTimeout;
    Settle(session.idleTimeout,
           timeout == 0 ? kDefaultIdleTimeout : std::min(timeout, kLongestIdleTimeout));
}

void SettleXmodemSendPacketSize(SessionConfig& session) {
    if (session.xmodemSendPacketSize == kClassicXmodemPacketSize) {
        Settle(session.xmodemSendPacketSize, 0u);
    }
}

// Seen before "Idle Timeout" is settled: a stored 0 meant no idle check.
std::optional<bool> DefaultIdleCheck(const SessionConfig& session, const YProfileKey*) {
    return session.idleTimeout.IsFromStore() && session.idleTimeout > 0;
}

// Older versions kept one "Highlighting Style" (0, 1, 2) where the three switches are now.
std::optional<bool> DefaultHighlightReverseVideo(const SessionConfig&, const YProfileKey* key) {
    const auto style = StoredDword(key, u"Highlighting Style");
    return style ? std::optional(*style == 0 || *style > 2) : std::nullopt;
}

std::optional<bool> DefaultHighlightBold(const SessionConfig&, const YProfileKey* key) {
    const auto style = StoredDword(key, u"Highlighting Style");
    return style ? std::optional(*style == 1) : std::nullopt;
}

std::optional<bool> DefaultHighlightColor(const SessionConfig&, const YProfileKey* key) {
    const auto style = StoredDword(key, u"Highlighting Style");
    return style ? std::optional(*style == 2) : std::nullopt;
}

std::optional<std::uint32_t> DefaultLineSendDelay(const SessionConfig&, const YProfileKey*) {
    return GetGlobalConfig()->lineSendDelay.Get();
}

std::optional<std::uint32_t> DefaultCharacterSendDelay(const SessionConfig&, const YProfileKey*) {
    return GetGlobalConfig()->characterSendDelay.Get();
}

std::optional<YUnicodeString> DefaultKeywordSet(const SessionConfig&, const YProfileKey*) {
    return LoadMessageString(rivode::msg::DefaultKeywordListName);
}

std::optional<YUnicodeString> DefaultUploadDirectory(const SessionConfig&, const YProfileKey*) {
    rivode::platform::UserFolders folders;
    return TransferFolder(HomeFolder(), u"upload", folders);
}

std::optional<YUnicodeString> DefaultDownloadDirectory(const SessionConfig&, const YProfileKey*) {
    rivode::platform::UserFolders folders;
    return TransferFolder(UserFolder(folders, "XDG_DOWNLOAD_DIR"), u"download", folders);
}

// The older trace levels started one lower, except for off (0) and the levels above 7.
void RaiseOlderTraceLevel(SessionConfig& session, YProfileData&, std::u16string_view olderName,
                          const YProfileKey& key) {
    const auto older = StoredDword(&key, olderName);
    if (older && !session.quillfileTraceLevel.IsFromStore()) {
        session.quillfileTraceLevel.Init(nullptr, session.quillfileTraceLevel.GetName(),
                                         *older >= 1 && *older <= 7 ? *older + 1 : *older);
    }
}

void UpgradeLoginScript(SessionConfig& session, YProfileData&, std::u16string_view olderName,
                        const YProfileKey& key) {
    constexpr std::u16string_view kOldestName = u"Login Script";
    ProfileExpectSendList& loginScript = session.loginScript;
    // Without a passphrase the list could not be enciphered; the older text stays for later.
    if (loginScript.IsFromStore() || IsConfigPassphraseDisabled()) {
        return;
    }
    YUnicodeString newer;
    YUnicodeString older;
    const bool hasNewer = key.GetString(olderName, newer) && !newer.empty();
    const bool hasOlder = key.GetString(kOldestName, older) && !older.empty();
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
    session.sendInitialCarriageReturn = sendInitialReturn;
    // The older texts are emptied in the key right away, so the converted list goes into the
    // same key now: a session that is loaded and never saved keeps its script. A refused write
    // leaves the values changed, so the session's next save tries again.
    (void)loginScript.Save(key);
    (void)session.sendInitialCarriageReturn.Save(key);
    for (const auto& [name, emptied] :
         {std::pair{olderName, newerRead}, std::pair{kOldestName, hasOlder}}) {
        if (emptied) {
            (void)key.SetString(name, u"");
        }
    }
}

}  // namespace rivode::config
