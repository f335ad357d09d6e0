#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/YLegacySensitiveValue.h>

#include <utility>

namespace {

constexpr std::u16string_view kCapiPrefix = u"CAPI:";

// The older value was kept either under the user's own data protection ("CAPI:") or in the
// double-Blowfish form of the configuration passphrase of its time. While sensitive data is
// disabled its plaintext could not be enciphered again, so it stays where it is (as a session's
// older values do) rather than being emptied and lost.
void UpgradeOlderPassword(FirewallConfig& config, YProfileData&, std::u16string_view olderName,
                          const YProfileKey& key) {
    YUnicodeString older;
    if (IsConfigPassphraseDisabled() || !key.GetString(olderName, older) || older.empty()) {
        return;
    }
    const YLegacyTextForm form =
        older.starts_with(kCapiPrefix) ? YLegacyTextForm::Capi : YLegacyTextForm::DoubleBlowfish;
    if (UpgradeLegacySensitiveValue(key, olderName, form, config.password)) {
        return;
    }
    // A V2 value already holds the password: the older copy only keeps a readable secret around.
    if (config.password.IsFromStore()) {
        (void)key.SetString(olderName, u"");
    }
}

using namespace rivode::rows;

}  // namespace

FirewallConfig::FirewallConfig(YUnicodeString name) : name_(std::move(name)) {
    Init(nullptr);
}

FirewallConfig::~FirewallConfig() = default;

YRefPtr<FirewallConfig> CreateFirewallConfig(const YUnicodeString& name) {
    return MakeYRef<FirewallConfig>(name);
}

const YProfileTable<FirewallConfig>& FirewallConfig::Table() {
    static const YProfileTable<FirewallConfig> table = [] {
        YProfileTable<FirewallConfig> rows;
#define RIVODE_FIREWALL_VALUE(Type, member, name, ...) \
    rows.Add(&FirewallConfig::member, name, __VA_ARGS__);
#define RIVODE_FIREWALL_MARKED(Type, member, name, marks, ...) \
    rows.Add(&FirewallConfig::member, name, marks, __VA_ARGS__);
#include <RivodeRavudaVU/FirewallConfigValues.inc>
#undef RIVODE_FIREWALL_VALUE
#undef RIVODE_FIREWALL_MARKED
        return rows;
    }();
    return table;
}

bool FirewallConfig::Load(const YProfileKey* key) {
    const bool found = YProfileTableRecord::Load(key);
    Table().ApplyLoadRules(*this, key);
    return found;
}

bool FirewallConfig::NeedsLogin() const {
    const FirewallType* row = GetType();
    return row != nullptr && row->needsLogin;
}

YUnicodeString FirewallConfig::GetPassword() const {
    return GetProfileEncryptedPlaintextString(password);
}

bool FirewallConfig::SetPassword(const YUnicodeString& plaintext) {
    return UpdateProfileEncryptedString(password, plaintext);
}

void FirewallConfig::SetRunTimeLogin(const YUnicodeString& username,
                                     const YUnicodeString& password) {
    runTimeUsername_ = username;
    runTimePassword_ = password;
}

bool FirewallConfig::GetLoginUsername(YUnicodeString& username, QWidget* parent) {
    username.clear();
    if (!user.Get().empty() || !runTimeUsername_.empty() || !NeedsLogin()) {
        username = user.Get().empty() ? runTimeUsername_ : user.Get();
        return true;
    }
    YUnicodeString answer;
    bool save = false;
    if (!LaunchFirewallUsernameDialog(answer, save, parent)) {
        return false;
    }
    if (save) {
        user = answer;
        // The connection goes on with the answer even when the firewall could not be stored.
        YReportMessageParams ignored;
        (void)SaveFirewall(*this, ignored);
    } else {
        runTimeUsername_ = answer;
    }
    username = answer;
    return true;
}

bool FirewallConfig::GetLoginPassword(YUnicodeString& result, QWidget* parent) {
    result.clear();
    const YUnicodeString stored = GetPassword();
    if (!stored.empty() || !runTimePassword_.empty() || !NeedsLogin()) {
        result = runTimePassword_.empty() ? stored : runTimePassword_;
        return true;
    }
    YUnicodeString answer;
    bool save = false;
    if (!LaunchFirewallPasswordDialog(answer, save, parent)) {
        return false;
    }
    if (save && SetPassword(answer)) {
        YReportMessageParams ignored;
        (void)SaveFirewall(*this, ignored);
    } else {
        runTimePassword_ = answer;
    }
    result = answer;
    return true;
}
