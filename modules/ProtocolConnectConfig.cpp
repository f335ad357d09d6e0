#include "modules/ProtocolConnectConfig.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/YLegacySensitiveValue.h>

#include <string>
#include <vector>

namespace rivode::modules {

ProtocolConnectConfig::ProtocolConnectConfig(const ConnectProtocolTraits& protocol)
    : protocol_(&protocol), table_(&TableFor(protocol)), name_(protocol.name) {
    table_->Init(*this, nullptr);
}

ProtocolConnectConfig::Table ProtocolConnectConfig::MakeTable(
    const ConnectProtocolTraits& protocol) {
    // Defaults: no firewall, as for the session's own "Firewall Name"; an SSH agent the user
    // runs is asked for keys unless switched off; a serial line starts at the common 9600 baud.
    using C = ProtocolConnectConfig;
    Table table;
    if (protocol.defaultPort != 0) {
        table.Add(&C::port_, u"Port", protocol.defaultPort);
    }
    if (protocol.Keeps(kLogonValues)) {
        table.Add(&C::username_, u"Username", rivode::rows::Personal, u"")
            .Add(&C::password_, u"Password V2", rivode::rows::Personal, YEncryptedString{});
    }
    if (protocol.Keeps(kFirewallValue)) {
        table.Add(&C::firewallName_, u"Firewall Name", u"None");
    }
    if (protocol.Keeps(kSavedCredential)) {
        table.Add(&C::credentialTitle_, u"Credential Title", rivode::rows::Personal, u"");
    }
    if (protocol.Keeps(kAgentValue)) {
        table.Add(&C::useAgent_, u"Use Agent", true);
    }
    if (protocol.Keeps(kSerialLineValues)) {
        table.Add(&C::comPort_, u"Com Port", u"").Add(&C::baudRate_, u"Baud Rate", 9600u);
    }
    return table;
}

const ProtocolConnectConfig::Table& ProtocolConnectConfig::TableFor(
    const ConnectProtocolTraits& protocol) {
    static const std::vector<Table> tables = [] {
        std::vector<Table> made;
        for (const ConnectProtocolTraits& each : GetConnectProtocols()) {
            made.push_back(MakeTable(each));
        }
        return made;
    }();
    return tables.at(static_cast<std::size_t>(&protocol - GetConnectProtocols().data()));
}

ConnectConfigPtr ProtocolConnectConfig::Clone() const {
    return ConnectConfigPtr::Adopt(new ProtocolConnectConfig(*this));
}

const ProtocolConnectConfig* ProtocolConnectConfig::SameProtocol(const YProfileData& other) const {
    const auto* same = dynamic_cast<const ProtocolConnectConfig*>(&other);
    return same != nullptr && same->name_ == name_ ? same : nullptr;
}

bool ProtocolConnectConfig::IsEqual(const ConnectConfig& other) const {
    const ProtocolConnectConfig* same = SameProtocol(other);
    return same != nullptr && port_.Get() == same->port_.Get() &&
           username_.Get() == same->username_.Get() && password_.Get() == same->password_.Get() &&
           firewallName_.Get() == same->firewallName_.Get() &&
           credentialTitle_.Get() == same->credentialTitle_.Get() &&
           useAgent_.Get() == same->useAgent_.Get() && comPort_.Get() == same->comPort_.Get() &&
           baudRate_.Get() == same->baudRate_.Get();
}

void ProtocolConnectConfig::ForEachValue(const std::function<void(YProfileData&)>& visit) {
    table_->ForEach(*this, visit);
}

void ProtocolConnectConfig::SetPort(std::uint32_t port) {
    if (protocol_->defaultPort != 0) {
        port_ = port;
    }
}

void ProtocolConnectConfig::SetKept(ConnectValueGroup group, YProfileString& value,
                                    const YUnicodeString& text) {
    if (Keeps(group)) {
        value = text;
    }
}

void ProtocolConnectConfig::SetUsername(const YUnicodeString& username) {
    SetKept(kLogonValues, username_, username);
}

YUnicodeString ProtocolConnectConfig::GetPassword() const {
    return GetProfileEncryptedPlaintextString(password_);
}

bool ProtocolConnectConfig::SetPassword(const YUnicodeString& password) {
    return Keeps(kLogonValues) && UpdateProfileEncryptedString(password_, password);
}

void ProtocolConnectConfig::SetFirewallName(const YUnicodeString& name) {
    SetKept(kFirewallValue, firewallName_, name);
}

void ProtocolConnectConfig::SetUseAgent(bool on) {
    if (Keeps(kAgentValue)) {
        useAgent_ = on;
    }
}

void ProtocolConnectConfig::SetComPort(const YUnicodeString& port) {
    SetKept(kSerialLineValues, comPort_, port);
}

void ProtocolConnectConfig::SetBaudRate(std::uint32_t rate) {
    if (Keeps(kSerialLineValues)) {
        baudRate_ = rate;
    }
}

bool ProtocolConnectConfig::OffersSavedCredentials() const {
    return Keeps(kSavedCredential);
}

void ProtocolConnectConfig::SetCredentialTitle(const YUnicodeString& title) {
    SetKept(kSavedCredential, credentialTitle_, title);
}

YUnicodeString ProtocolConnectConfig::GetDescription(const YUnicodeString& hostname) const {
    const YUnicodeString target = DescribeTarget(hostname);
    return target.empty() ? name_ : name_ + u", " + target;
}

YUnicodeString ProtocolConnectConfig::DescribeTarget(const YUnicodeString& hostname) const {
    if (Keeps(kSerialLineValues)) {
        if (comPort_.Get().empty()) {
            return {};
        }
        return comPort_.Get() + u" " + FromAscii(std::to_string(baudRate_.Get()));
    }
    // Without a port the protocol does not reach a host (a local shell, a modem line).
    if (hostname.empty() || protocol_->defaultPort == 0) {
        return {};
    }
    YUnicodeString target = username_.Get().empty() ? hostname : username_.Get() + u"@" + hostname;
    return target + u":" + FromAscii(std::to_string(port_.Get()));
}

bool ProtocolConnectConfig::Load(const YProfileKey* key) {
    table_->Init(*this, key);
    if (key == nullptr) {
        return false;
    }
    UpgradeOlderValues(*key);
    // Init leaves exactly the values it did not find pending (to be written on the next save).
    bool stored = false;
    table_->ForEach(*this,
                    [&stored](YProfileData& value) { stored = stored || !value.IsPending(); });
    return stored;
}

void ProtocolConnectConfig::UpgradeOlderValues(const YProfileKey& key) {
    // The older password is emptied in the key as it is upgraded, so its enciphered form goes
    // into the same key at once: a session that is loaded and never saved keeps its password.
    // While sensitive data is disabled the older password could not be enciphered and would be
    // lost, so it stays as it is until a later load.
    if (Keeps(kLogonValues) && !IsConfigPassphraseDisabled() &&
        UpgradeLegacySensitiveValue(key, u"Password", YLegacyTextForm::DoubleBlowfish, password_)) {
        // A refused write leaves the value changed, so the session's next save tries again.
        (void)password_.Save(key);
    }
    // Sessions older than "Firewall Name" chose the terminal's default firewall with a switch.
    std::uint32_t useFirewall = 0;
    if (Keeps(kFirewallValue) && key.GetDword(u"Use Firewall", useFirewall) && useFirewall != 0) {
        firewallName_.Init(&key, u"Firewall Name", u"DefaultTerminalFirewall");
    }
}

bool ProtocolConnectConfig::Save(const YProfileKey& key) {
    return table_->Save(*this, key);
}

bool ProtocolConnectConfig::IsChanged() const {
    return table_->IsChanged(*this);
}

void ProtocolConnectConfig::CommitAll() {
    table_->CommitAll(*this);
}

void ProtocolConnectConfig::RevertAll() {
    table_->RevertAll(*this);
    AfterRevertAll();
}

bool ProtocolConnectConfig::CopyFrom(const YProfileData& other) {
    const ProtocolConnectConfig* same = SameProtocol(other);
    return same != nullptr && (same == this || table_->CopyFrom(*this, *same));
}

bool ProtocolConnectConfig::CopyChangesFrom(const YProfileData& source) {
    const ProtocolConnectConfig* same = SameProtocol(source);
    return same != nullptr && (same == this || table_->CopyChangesFrom(*this, *same));
}

}  // namespace rivode::modules
