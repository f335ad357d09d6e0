// The protocols the reference modules serve: for each, the module file that serves it, the port
// a new session connects to and which values its configuration keeps in the session's key.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace rivode::modules {

// Groups of values a protocol's configuration keeps, beside "Port" (kept when the protocol has
// a port).
enum ConnectValueGroup : unsigned {
    kLogonValues = 1u << 0,       // "Username", "Password V2"
    kFirewallValue = 1u << 1,     // "Firewall Name"
    kSavedCredential = 1u << 2,   // "Credential Title"
    kAgentValue = 1u << 3,        // "Use Agent"
    kSerialLineValues = 1u << 4,  // "Com Port", "Baud Rate"
};

struct ConnectProtocolTraits {
    std::u16string_view name;        // as in the protocol table: "SSH2", "FTP/SSL (implicit)"
    std::u16string_view moduleFile;  // the file that serves it, without ".so"
    std::uint32_t defaultPort;       // 0: the protocol does not connect to a port
    unsigned values;                 // ConnectValueGroup bits

    bool Keeps(ConnectValueGroup group) const { return (values & group) != 0; }
};

// Every protocol of the reference modules, in protocol-table order. Thread-safe (constant).
std::span<const ConnectProtocolTraits> GetConnectProtocols();

// The protocol named name, without regard to case; nullptr when no reference module serves it.
const ConnectProtocolTraits* FindConnectProtocol(std::u16string_view name);

}  // namespace rivode::modules
