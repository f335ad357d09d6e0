// The configuration every reference module hands out: one class for all its protocols, whose
// values are declared per protocol in a table built from the protocol's traits. Members a
// protocol does not keep stay at their defaults and are never loaded or saved.
#pragma once

#include "modules/ConnectProtocols.h"

#include <RivodeRavudaVU/ConnectConfig.h>
#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileTable.h>

namespace rivode::modules {

class ProtocolConnectConfig final : public ConnectConfig {
public:
    // Every value at its default, pending so that the first save writes it. protocol must be an
    // element of GetConnectProtocols().
    explicit ProtocolConnectConfig(const ConnectProtocolTraits& protocol);

    const YUnicodeString& GetProtocolName() const override { return name_; }
    ConnectConfigPtr Clone() const override;
    bool IsEqual(const ConnectConfig& other) const override;
    void ForEachValue(const std::function<void(YProfileData&)>& visit) override;

    std::uint32_t GetPort() const override { return port_; }
    void SetPort(std::uint32_t port) override;
    const YUnicodeString& GetUsername() const override { return username_; }
    void SetUsername(const YUnicodeString& username) override;
    YUnicodeString GetPassword() const override;
    [[nodiscard]] bool SetPassword(const YUnicodeString& password) override;
    const YUnicodeString& GetFirewallName() const override { return firewallName_; }
    void SetFirewallName(const YUnicodeString& name) override;
    bool OffersSavedCredentials() const override;
    const YUnicodeString& GetCredentialTitle() const override { return credentialTitle_; }
    void SetCredentialTitle(const YUnicodeString& title) override;
    YUnicodeString GetDescription(const YUnicodeString& hostname) const override;

    // The values only this module's pages edit.
    bool GetUseAgent() const { return useAgent_; }
    void SetUseAgent(bool on);
    const YUnicodeString& GetComPort() const { return comPort_; }
    void SetComPort(const YUnicodeString& port);
    std::uint32_t GetBaudRate() const { return baudRate_; }
    void SetBaudRate(std::uint32_t rate);

    // The record operations, over the protocol's values only.
    bool Load(const YProfileKey* key) override;
    [[nodiscard]] bool Save(const YProfileKey& key) override;
    bool IsChanged() const override;
    void CommitAll() override;
    void RevertAll() override;
    bool CopyFrom(const YProfileData& other) override;
    bool CopyChangesFrom(const YProfileData& source) override;

private:
    using Table = YProfileTable<ProtocolConnectConfig>;
    static Table MakeTable(const ConnectProtocolTraits& protocol);
    static const Table& TableFor(const ConnectProtocolTraits& protocol);

    ProtocolConnectConfig(const ProtocolConnectConfig& other) = default;
    // other as this class when it serves the same protocol; nullptr otherwise.
    const ProtocolConnectConfig* SameProtocol(const YProfileData& other) const;
    bool Keeps(ConnectValueGroup group) const { return protocol_->Keeps(group); }
    // value := text when the protocol keeps group; a value it does not keep stays empty.
    void SetKept(ConnectValueGroup group, YProfileString& value, const YUnicodeString& text);
    void UpgradeOlderValues(const YProfileKey& key);
    YUnicodeString DescribeTarget(const YUnicodeString& hostname) const;

    const ConnectProtocolTraits* protocol_;
    const Table* table_;
    YUnicodeString name_;

    YProfile<unsigned int> port_;
    YProfileString username_;
    YProfileEncryptedString password_;
    YProfileString firewallName_;
    YProfileString credentialTitle_;
    YProfile<bool> useAgent_;
    YProfileString comPort_;
    YProfile<unsigned int> baudRate_;
};

}  // namespace rivode::modules
