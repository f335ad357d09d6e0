#include <RivodeRavudaVU/RemoteHostConfig.h>

#include "config/SessionMigration.h"

namespace {

using namespace rivode::rows;

// Sessions older than "Firewall Name" chose the terminal's default firewall with a switch.
std::optional<YUnicodeString> DefaultFirewallName(const RemoteHostConfig&, const YProfileKey* key) {
    std::uint32_t useFirewall = 0;
    if (key == nullptr || !key->GetDword(u"Use Firewall", useFirewall) || useFirewall == 0) {
        return std::nullopt;
    }
    return YUnicodeString(kDefaultTerminalFirewallName);
}

}  // namespace

RemoteHostConfig::RemoteHostConfig() {
    Init(nullptr);
}

const YProfileTable<RemoteHostConfig>& RemoteHostConfig::Table() {
    using C = RemoteHostConfig;
    static const auto table =
        YProfileTable<C>()
            .Add(&C::hostname, u"Hostname", u"")
            .Add(&C::username, u"Username", Personal, u"")
            .Add(&C::firewallName, u"Firewall Name", Derived(DefaultFirewallName),
                 YUnicodeString(kNoFirewallName))
            .Add(&C::credentialTitle, u"Credential Title", Personal, u"")
            .Add(&C::localShellCommandPreConnect, u"Local Shell Command Pre-connect V2",
                 Personal | Upgraded(u"Local Shell Command Pre-connect",
                                     &rivode::config::EncipherOlderPlainText<C>),
                 YEncryptedString{});
    return table;
}

void RemoteHostConfig::Init(const YProfileKey* key) {
    YProfileTableRecord::Init(key);
    if (key != nullptr) {
        Table().ApplyLoadRules(*this, key);
    }
}
