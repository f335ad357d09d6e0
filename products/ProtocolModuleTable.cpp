#include "products/ProtocolModuleTable.h"

namespace {

constexpr auto Standard = ProtocolSecurity::Standard;
constexpr auto Ssh1 = ProtocolSecurity::Ssh1;
constexpr auto Tls = ProtocolSecurity::Tls;

constexpr ProtocolModuleRow kRows[] = {
    {1, u"Telnet", u"Telnet", u"Telnet", Standard},
    {1, u"RLogin", u"RLogin", u"RLogin", Standard},
    {1, u"Serial", u"Serial", u"Serial", Standard},
    {1, u"TAPI", u"TAPI", u"TAPI", Standard},
    {1, u"Marks", u"Marks", u"Marks", Standard},
    {1, u"Raw", u"Raw", u"Raw", Standard},

    {3, u"SSH2", u"SSH2", u"SSH2", Standard},
    {3, u"SSH1", u"SSH1", u"SSH2", Ssh1},
    {3, u"Telnet", u"Telnet", u"Telnet", Standard},
    {3, u"Telnet/SSL", u"Telnet/TLS", u"TelnetSSL", Tls},
    {3, u"Local Shell", u"Local Shell", u"Local", Standard},
    {3, u"RDP", u"RDP", u"RDP", Standard},
    {3, u"Serial", u"Serial", u"Serial", Standard},
    {3, u"TAPI", u"TAPI", u"TAPI", Standard},
    {3, u"RLogin", u"RLogin", u"RLogin", Standard},
    {3, u"Raw", u"Raw", u"Raw", Standard},
    {3, u"Marks", u"Marks", u"Marks", Standard},

    {6, u"SFTP", u"SFTP", u"SFTP", Standard},
    {6, u"FTP", u"FTP", u"FTP", Standard},
    {6, u"FTP/SSL (implicit)", u"FTP/TLS (implicit)", u"FTPSSL", Tls},
    {6, u"FTP/SSL (explicit)", u"FTP/TLS (explicit)", u"FTPSSL", Tls},
    {6, u"HTTP", u"HTTP", u"HTTP", Standard},
    {6, u"HTTPS", u"HTTPS", u"HTTPS", Tls},
    {6, u"HTTPS (S3)", u"HTTPS (S3)", u"HTTPS", Tls},
    {6, u"SCP", u"SCP", u"SCP", Standard},

    {9, u"SFTP", u"SFTP", u"SFTP", Standard},
    {9, u"FTP", u"FTP", u"FTP", Standard},
    {9, u"FTP/SSL (implicit)", u"FTP/SSL (implicit)", u"FTPSSL", Tls},
    {9, u"FTP/SSL (explicit)", u"FTP/SSL (explicit)", u"FTPSSL", Tls},
    {9, u"SCP", u"SCP", u"SCP", Standard},

    {7, u"SSH2", u"SSH2", u"SSH2", Standard},

    {8, u"SSH2", u"SSH2", u"SSH2", Standard},
};

static_assert(std::size(kRows) == 32);

}  // namespace

std::span<const ProtocolModuleRow> GetProtocolModuleRows() { return kRows; }

bool IsProtocolAllowed(const ProtocolModuleRow& row, const FipsSettings& fips) {
    switch (row.security) {
        case ProtocolSecurity::Ssh1:
            return !fips.enabled;
        case ProtocolSecurity::Tls:
            return !fips.enabled || fips.tlsExempt;
        case ProtocolSecurity::Standard:
            return true;
    }
    return true;
}
