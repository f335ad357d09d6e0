#include <RivodeRavudaVU/RemoteHostConfig.h>

#include "config/SessionMigration.h"

RemoteHostConfig::RemoteHostConfig() {
    Init(nullptr);
}

const YProfileTable<RemoteHostConfig>& RemoteHostConfig::Table() {
    using C = RemoteHostConfig;
    static const auto table =
        YProfileTable<C>()
            .Add(&C::hostname, u"Hostname", u"")
            .Add(&C::username, u"Username", u"")
            .Add(&C::firewallName, u"Firewall Name", YUnicodeString(kNoFirewallName))
            .Add(&C::credentialTitle, u"Credential Title", u"")
            .Add(&C::localShellCommandPreConnect, u"Local Shell Command Pre-connect V2",
                 YEncryptedString{});
    return table;
}

void RemoteHostConfig::Init(const YProfileKey* key) {
    YProfileTableRecord::Init(key);
    if (key == nullptr) {
        return;
    }
    // Sessions older than "Firewall Name" chose the terminal's default firewall with a switch.
    std::uint32_t useFirewall = 0;
    if (!firewallName.IsFromStore() && key->GetDword(u"Use Firewall", useFirewall) &&
        useFirewall != 0) {
        firewallName.Init(nullptr, firewallName.GetName(),
                          YUnicodeString(kDefaultTerminalFirewallName));
    }
    rivode::config::UpgradePlainSensitiveValue(*key, u"Local Shell Command Pre-connect",
                                               localShellCommandPreConnect);
}
