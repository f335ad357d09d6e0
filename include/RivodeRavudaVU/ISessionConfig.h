// ISessionConfig: one stored session (which protocol, which host, how the terminal looks, how
// logging, scripts and transfers work), as hosts and dialogs see it. The record behind it is
// SessionConfig; this interface is what travels between the library, its hosts and the protocol
// modules.
//
// A session has two protocol slots: the terminal side ("Protocol Name") and the file-transfer
// side ("Transfer Protocol Name"). Each holds the ConnectConfig of its protocol, made by the
// protocol's module. The protocol name "None" means that side has no protocol.
//
// Records are counted (they delete themselves at count zero) and are used by one thread at a
// time.
#pragma once

#include <RivodeRavudaVU/ConnectConfig.h>
#include <RivodeRavudaVU/YRefPtr.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <functional>

#pragma GCC visibility push(default)

class QWidget;
class YProfileData;
class YProfileKey;

// The protocol name of a side without a protocol.
inline constexpr std::u16string_view kNoProtocolName = u"None";
// The session every new session is made from.
inline constexpr std::u16string_view kDefaultSessionName = u"Default";

class ISessionConfig : public IYUnknown {
public:
    static constexpr YInterfaceId kInterfaceId{"ISessionConfig"};

    // Whether any value, sub-record or protocol configuration differs from its loaded state.
    virtual bool IsModified() const = 0;
    // The loaded state of every value becomes its current value (a record that was saved
    // elsewhere), or the current value goes back to the loaded state.
    virtual void CommitAll() = 0;
    virtual void RevertAll() = 0;
    // Writes the record, then every sub-record and protocol configuration that has something to
    // write, to key. false when any write failed (the reason is in key.GetStatus()).
    [[nodiscard]] virtual bool Save(const YProfileKey& key) = 0;
    // Takes every value of other with its loaded state; false (nothing changed) when other is
    // not a SessionConfig.
    virtual bool Assign(const ISessionConfig& other) = 0;
    // Loads the session values, the terminal and remote-host parts, then both protocol slots.
    // Without a key every value takes its default. Returns whether the key held any value.
    virtual bool Load(const YProfileKey* key) = 0;
    // Writes every value of the record, its terminal part and both protocol slots into key,
    // defaults included (sessions exported or made in bulk).
    [[nodiscard]] virtual bool WriteAllTo(const YProfileKey& key) = 0;

    // The path below "Sessions": folder names and the name joined by "\" ("Work\Server").
    // Setting the path also sets the name to its last part.
    virtual const YUnicodeString& GetPath() const = 0;
    virtual void SetPath(const YUnicodeString& path) = 0;
    virtual const YUnicodeString& GetName() const = 0;
    virtual void SetName(const YUnicodeString& name) = 0;

    // One line about the connection: the terminal protocol's description, else the transfer
    // protocol's; "TAPI" and "Serial" for those protocols.
    virtual YUnicodeString GetConnectionDescription() const = 0;

    // A new record holding every value with its loaded state, so it saves like this one.
    virtual YRefPtr<ISessionConfig> Clone() const = 0;

    virtual void Reserved1() {}
    virtual void Reserved2() {}

    // Whether the protocol of each side lets sessions log on with a saved credential.
    virtual bool TerminalProtocolOffersSavedCredentials() const = 0;
    virtual bool TransferProtocolOffersSavedCredentials() const = 0;

    // A side has a protocol when its slot holds a configuration and its name is not "None".
    virtual bool HasTerminalProtocol() const = 0;
    virtual bool HasTransferProtocol() const = 0;

    // The slots' configurations; nullptr when the side holds none.
    virtual ConnectConfig* GetConnectConfig() const = 0;
    virtual ConnectConfig* GetTerminalConnectConfig() const = 0;
    virtual ConnectConfig* GetTransferConnectConfig() const = 0;
    virtual ConnectConfig* GetFileTransferConnectConfig() const = 0;
    // The slot of a protocol kind (the product number of its module row): kinds 6 and 9 are the
    // transfer slot, every other kind the terminal slot.
    virtual ConnectConfig* GetConnectConfigForKind(int kind) const = 0;

    // Whether the session speaks SSH: its terminal protocol is "SSH2" or its transfer protocol
    // is "SFTP" (letter case ignored).
    virtual bool IsSshFamily() const = 0;
    // Whether a slot's stored protocol name was one no loaded module offers, so that the slot
    // fell back to the first protocol of its kind.
    virtual bool HasUnknownProtocol() const = 0;

    // The protocols a saved credential of this session may come from: "SSH2" for kind 3;
    // otherwise "SSH2, SFTP or SCP" when the session has a terminal protocol, else "SFTP or SCP".
    virtual YUnicodeString GetProtocolFamilyText(int kind) const = 0;
    virtual const YUnicodeString& GetTransferProtocolName() const = 0;

    // The terminal slot's protocol name. Setting another protocol replaces the slot's
    // configuration with a new one of that protocol; "None" empties the side.
    virtual void SetProtocolName(const YUnicodeString& name) = 0;
    virtual const YUnicodeString& GetProtocolName() const = 0;

    // The transfer slot's protocol name, as SetProtocolName.
    virtual void SetTransferProtocolName(const YUnicodeString& name) = 0;
    // Takes from source only the values that changed in source since it was loaded (each
    // sub-record and protocol configuration recursively): how changes made to the default
    // session reach every session. false when source is not a SessionConfig.
    virtual bool ApplyChangesFrom(const ISessionConfig& source) = 0;
    // Calls visit for every typed value of the record: its own values, the terminal and
    // remote-host parts, the protocol names, then each slot's configuration, in saving order.
    virtual void ForEachValue(const std::function<void(YProfileData&)>& visit) = 0;

protected:
    ~ISessionConfig() = default;
};

using ISessionConfigPtr = YRefPtr<ISessionConfig>;

// Passes parent to both protocol configurations of session, for the prompts they show.
void SetConnectConfigParentWindow(ISessionConfig* session, QWidget* parent);

#pragma GCC visibility pop
