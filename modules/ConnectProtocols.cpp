#include "modules/ConnectProtocols.h"

#include <RivodeRavudaVU/YUnicodeString.h>

#include <array>

namespace rivode::modules {
namespace {

// Saved credentials hold an SSH2 user authentication, so exactly the protocols that log on
// through SSH2 offer them (SSH2, SFTP, SCP); SSH1's older authentication cannot use them.
constexpr unsigned kNetwork = kLogonValues | kFirewallValue;
constexpr unsigned kSsh1 = kNetwork | kAgentValue;
constexpr unsigned kSsh2 = kSsh1 | kSavedCredential;

// A raw connection sends no logon, so it keeps no user name or password. A local shell, a
// modem line (TAPI) and the marks protocol have no remote port; a serial line has its device.
constexpr std::array kProtocols{
    ConnectProtocolTraits{u"SSH2", u"SSH2", 22, kSsh2},
    ConnectProtocolTraits{u"SSH1", u"SSH2", 22, kSsh1},
    ConnectProtocolTraits{u"Telnet", u"Telnet", 23, kNetwork},
    ConnectProtocolTraits{u"Telnet/SSL", u"TelnetSSL", 992, kNetwork},
    ConnectProtocolTraits{u"Local Shell", u"Local", 0, 0},
    ConnectProtocolTraits{u"RDP", u"RDP", 3389, kNetwork},
    ConnectProtocolTraits{u"Serial", u"Serial", 0, kSerialLineValues},
    ConnectProtocolTraits{u"TAPI", u"TAPI", 0, 0},
    ConnectProtocolTraits{u"RLogin", u"RLogin", 513, kNetwork},
    ConnectProtocolTraits{u"Raw", u"Raw", 23, kFirewallValue},
    ConnectProtocolTraits{u"Marks", u"Marks", 0, 0},
    ConnectProtocolTraits{u"SFTP", u"SFTP", 22, kSsh2},
    ConnectProtocolTraits{u"FTP", u"FTP", 21, kNetwork},
    ConnectProtocolTraits{u"FTP/SSL (implicit)", u"FTPSSL", 990, kNetwork},
    ConnectProtocolTraits{u"FTP/SSL (explicit)", u"FTPSSL", 21, kNetwork},
    ConnectProtocolTraits{u"HTTP", u"HTTP", 80, kNetwork},
    ConnectProtocolTraits{u"HTTPS", u"HTTPS", 443, kNetwork},
    ConnectProtocolTraits{u"HTTPS (S3)", u"HTTPS", 443, kNetwork},
    ConnectProtocolTraits{u"SCP", u"SCP", 22, kSsh2},
};

}  // namespace

std::span<const ConnectProtocolTraits> GetConnectProtocols() {
    return kProtocols;
}

const ConnectProtocolTraits* FindConnectProtocol(std::u16string_view name) {
    for (const ConnectProtocolTraits& protocol : kProtocols) {
        if (EqualsNoCase(protocol.name, name)) {
            return &protocol;
        }
    }
    return nullptr;
}

}  // namespace rivode::modules
