// ConnectConfig: a protocol's own part of a session (port, user name, password, firewall, saved
// credential and whatever else the protocol keeps), created by the protocol's module and kept by
// the session record beside its common values. It loads from and saves to the session's key like
// any record (YProfileData), so a session that is saved, cloned or compared carries its protocol
// part along without knowing what it holds.
//
// Objects are counted: a module hands a new one out with one reference, held in a
// ConnectConfigPtr; the module's own code deletes it when the last reference goes. An object is
// used by one thread at a time.
#pragma once

#include <RivodeRavudaVU/YProfileData.h>
#include <RivodeRavudaVU/YRefPtr.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <functional>

class ConnectConfig : public YProfileData, public YUnknown<IYUnknown> {
public:
    // The protocol the object was created for ("SSH2", "FTP/SSL (implicit)").
    virtual const YUnicodeString& GetProtocolName() const = 0;

    // A new object of the same protocol holding the same values, flags and baselines, so that
    // the copy saves exactly like the original.
    virtual YRefPtr<ConnectConfig> Clone() const = 0;
    // Whether other is of the same protocol and holds the same current values.
    virtual bool IsEqual(const ConnectConfig& other) const = 0;

    // Every typed value of the object, in the order it saves them (listing and scripting).
    virtual void ForEachValue(const std::function<void(YProfileData&)>& visit) = 0;

    // The values every protocol keeps, under the same names in every protocol's configuration.
    // A protocol without a port (a local shell) answers 0 and ignores SetPort.
    virtual std::uint32_t GetPort() const = 0;
    virtual void SetPort(std::uint32_t port) = 0;
    virtual const YUnicodeString& GetUsername() const = 0;
    virtual void SetUsername(const YUnicodeString& username) = 0;
    // The password deciphered under the current configuration passphrase; empty when none is
    // stored, when it does not decipher, or when sensitive data is disabled.
    virtual YUnicodeString GetPassword() const = 0;
    // Enciphers under the current configuration passphrase; false when sensitive data is
    // disabled or enciphering fails (the stored password is then unchanged).
    [[nodiscard]] virtual bool SetPassword(const YUnicodeString& password) = 0;
    virtual const YUnicodeString& GetFirewallName() const = 0;
    virtual void SetFirewallName(const YUnicodeString& name) = 0;
    // The title of the saved credential the session logs on with; empty for none. Protocols that
    // do not offer saved credentials keep it empty.
    virtual bool OffersSavedCredentials() const = 0;
    virtual const YUnicodeString& GetCredentialTitle() const = 0;
    virtual void SetCredentialTitle(const YUnicodeString& title) = 0;
    // A line describing the connection for lists and tool tips ("SSH2, user@host:22" style).
    virtual YUnicodeString GetDescription(const YUnicodeString& hostname) const = 0;

protected:
    ConnectConfig() = default;
    ConnectConfig(const ConnectConfig& other) : YProfileData(other), YUnknown<IYUnknown>() {}
};

using ConnectConfigPtr = YRefPtr<ConnectConfig>;
