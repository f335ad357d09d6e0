#include "products/ProtocolModuleTable.h"

#include <RivodeRavudaVU/ProductNumbers.h>

namespace {

constexpr auto Standard = ProtocolSecurity::Standard;
constexpr auto Ssh1 = ProtocolSecurity::Ssh1;
constexpr auto Tls = ProtocolSecurity::Tls;

constexpr ProtocolModuleRow kRows[] = {
    {kProductQtm, u"Telnet", u"Telnet", u"Telnet", Standard},
    {kProductQtm, u"RLogin", u"RLogin", u"RLogin", Standard},
    {kProductQtm, u"Serial", u"Serial", u"Serial", Standard},
    {kProductQtm, u"TAPI", u"TAPI", u"TAPI", Standard},
    {kProductQtm, u"Marks", u"Marks", u"Marks", Standard},
    {kProductQtm, u"Raw", u"Raw", u"Raw", Standard},

    {kProductQuillterm, u"SSH2", u"SSH2", u"SSH2", Standard},
    {kProductQuillterm, u"SSH1", u"SSH1", u"SSH2", Ssh1},
    {kProductQuillterm, u"Telnet", u"Telnet", u"Telnet", Standard},
    {kProductQuillterm, u"Telnet/SSL", u"Telnet/TLS", u"TelnetSSL", Tls},
    {kProductQuillterm, u"Local Shell", u"Local Shell", u"Local", Standard},
    {kProductQuillterm, u"RDP", u"RDP", u"RDP", Standard},
    {kProductQuillterm, u"Serial", u"Serial", u"Serial", Standard},
    {kProductQuillterm, u"TAPI", u"TAPI", u"TAPI", Standard},
    {kProductQuillterm, u"RLogin", u"RLogin", u"RLogin", Standard},
    {kProductQuillterm, u"Raw", u"Raw", u"Raw", Standard},
    {kProductQuillterm, u"Marks", u"Marks", u"Marks", Standard},

    {kProductQuillfile, u"SFTP", u"SFTP", u"SFTP", Standard},
    {kProductQuillfile, u"FTP", u"FTP", u"FTP", Standard},
    {kProductQuillfile, u"FTP/SSL (implicit)", u"FTP/TLS (implicit)", u"FTPSSL", Tls},
    {kProductQuillfile, u"FTP/SSL (explicit)", u"FTP/TLS (explicit)", u"FTPSSL", Tls},
    {kProductQuillfile, u"HTTP", u"HTTP", u"HTTP", Standard},
    {kProductQuillfile, u"HTTPS", u"HTTPS", u"HTTPS", Tls},
    {kProductQuillfile, u"HTTPS (S3)", u"HTTPS (S3)", u"HTTPS", Tls},
    {kProductQuillfile, u"SCP", u"SCP", u"SCP", Standard},

    {kProductFerrule, u"SFTP", u"SFTP", u"SFTP", Standard},
    {kProductFerrule, u"FTP", u"FTP", u"FTP", Standard},
    {kProductFerrule, u"FTP/SSL (implicit)", u"FTP/SSL (implicit)", u"FTPSSL", Tls},
    {kProductFerrule, u"FTP/SSL (explicit)", u"FTP/SSL (explicit)", u"FTPSSL", Tls},
    {kProductFerrule, u"SCP", u"SCP", u"SCP", Standard},

    {kProductSsh2Only, u"SSH2", u"SSH2", u"SSH2", Standard},

    {kProductWyrmlink, u"SSH2", u"SSH2", u"SSH2", Standard},
};

static_assert(std::size(kRows) == 32);

}  // namespace

std::span<const ProtocolModuleRow> GetProtocolModuleRows() {
    return kRows;
}

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
