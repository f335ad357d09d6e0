// ConnectConfig: a protocol's own part of a session (port, user name, password, firewall, saved
// credential and whatever else the protocol keeps), created by the protocol's module and kept by
// the session record beside its common values. It loads from and saves to the session's key like
// any record (YProfileData), so a session that is saved, cloned or compared carries its protocol
// part along without knowing what it holds.
//
// Loading is the record's first load from the session's key: Load(key) reads every value the
// protocol keeps, gives each missing one its protocol default (written on the next save), and
// moves older stored forms (a legacy "Password") to their current names; it returns whether any
// of the protocol's values was stored. Save writes only what is new, changed or missing from the
// key and never touches values the protocol does not keep, so the session's own values in the
// same key are unharmed. The common values below have the same names in every protocol, so a
// session's two slots (terminal and file transfer, one host and one account) share them: when
// both change one, the slot saved last decides.
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

#pragma GCC visibility push(default)

class QWidget;

// The counting base comes first: the object deletes itself through it.
class ConnectConfig : public YUnknown<IYUnknown>, public YProfileData {
public:
    // The protocol the object was created for ("SSH2", "FTP/SSL (implicit)").
    virtual const YUnicodeString& GetProtocolName() const = 0;

    // A new object of the same protocol holding the same values, flags and baselines, so that
    // the copy saves exactly like the original.
    virtual YRefPtr<ConnectConfig> Clone() const = 0;
    // Whether other is of the same protocol and holds the same current values (passwords by
    // their stored, enciphered text).
    virtual bool IsEqual(const ConnectConfig& other) const = 0;

    // Every typed value of the object, in the order it saves them (listing and scripting).
    virtual void ForEachValue(const std::function<void(YProfileData&)>& visit) = 0;

    // The common values ("Port", "Username", "Password V2", "Firewall Name", "Credential
    // Title"), under the same names in every protocol's configuration. A protocol that has no use
    // for one (a local shell has no port, a raw connection no user name) answers 0 or empty and
    // ignores its setter.
    virtual std::uint32_t GetPort() const = 0;
    virtual void SetPort(std::uint32_t port) = 0;
    virtual const YUnicodeString& GetUsername() const = 0;
    virtual void SetUsername(const YUnicodeString& username) = 0;
    // The password deciphered under the current configuration passphrase; empty when none is
    // stored, when it does not decipher, or when sensitive data is disabled.
    virtual YUnicodeString GetPassword() const = 0;
    // Enciphers under the current configuration passphrase; false when sensitive data is
    // disabled, enciphering fails or the protocol keeps no password (the stored password is then
    // unchanged).
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

    // Set by the session record: whether the object belongs to the session "Default", the one
    // new sessions are made from (a protocol may then leave out prompts that make no sense for
    // a template). Kept by copies.
    bool BelongsToDefaultSession() const { return belongsToDefaultSession_; }
    void SetBelongsToDefaultSession(bool on) { belongsToDefaultSession_ = on; }
    // The window any prompt of the protocol is shown over; nullptr for none. Not owned.
    QWidget* GetParentWindow() const { return parentWindow_; }
    void SetParentWindow(QWidget* parent) { parentWindow_ = parent; }

protected:
    ConnectConfig() = default;
    ConnectConfig(const ConnectConfig& other)
        : YUnknown<IYUnknown>(),
          YProfileData(other),
          belongsToDefaultSession_(other.belongsToDefaultSession_),
          parentWindow_(other.parentWindow_) {}

private:
    bool belongsToDefaultSession_ = false;
    QWidget* parentWindow_ = nullptr;
};

using ConnectConfigPtr = YRefPtr<ConnectConfig>;

#pragma GCC visibility pop
