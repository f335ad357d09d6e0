// RemoteHostConfig: the host part of a session (host name, user name, firewall, saved credential
// and the local command run before connecting), loaded from and saved to the session's key.
//
// "Username", "Firewall Name" and "Credential Title" are also kept by the protocol configurations
// of the session's two slots under the same names. This record is their owner: the session
// record hands its values to both slots before every save, so that whatever is written agrees.
//
// Older forms read when loading:
// - "Firewall Name" absent: the older switch "Use Firewall" on gives "DefaultTerminalFirewall".
// - "Local Shell Command Pre-connect V2" absent: a plain "Local Shell Command Pre-connect" is
//   enciphered into it at once and the plain value is emptied.
//
// A record is used by one thread at a time; the table is shared and read-only.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileTable.h>

#include <string_view>

#pragma GCC visibility push(default)

inline constexpr std::u16string_view kNoFirewallName = u"None";
// The firewall older sessions chose with the switch "Use Firewall".
inline constexpr std::u16string_view kDefaultTerminalFirewallName = u"DefaultTerminalFirewall";

class RemoteHostConfig : public YProfileTableRecord<RemoteHostConfig> {
public:
    YProfileString hostname;
    // "%USERNAME%" stands for the local user's name and is expanded where it is used.
    YProfileString username;
    YProfileString firewallName;
    YProfileString credentialTitle;
    YProfileEncryptedString localShellCommandPreConnect;

    // Every value at its default, as a record loaded without a store.
    RemoteHostConfig();
    RemoteHostConfig(const RemoteHostConfig&) = default;
    RemoteHostConfig& operator=(const RemoteHostConfig&) = delete;

    // The table's values from key (defaults without one), then the older forms above.
    void Init(const YProfileKey* key);

    static const YProfileTable<RemoteHostConfig>& Table();
};

#pragma GCC visibility pop
