// The protocol modules a product's loading tries, as a query for hosts that show them (which
// protocols a product offers, which module file serves each, which are loaded and why not).
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <vector>

#pragma GCC visibility push(default)

// One row of the module table and its state in the process's protocol table.
struct ConnectProtocolModuleState {
    int product = 0;             // the product whose row it is
    YUnicodeString name;         // "SSH2", "Telnet/SSL"
    YUnicodeString displayName;  // "Telnet/TLS"
    // The module file of the loaded entry, else the one loading from folder would open.
    YUnicodeString modulePath;
    bool loaded = false;   // the process's table holds an entry of the row
    bool allowed = false;  // the FIPS settings of the product asked about let it load now
};

// The rows LoadConnectionProtocolDlls(product, folder) tries, in loading order: the product's,
// then the sibling's when the product runs integrated (IsIntegrated). Asks the process's table
// and the policies as they are now; loads nothing. Meant for the host's thread.
std::vector<ConnectProtocolModuleState> GetConnectProtocolModules(int product,
                                                                  const YUnicodeString& folder);

#pragma GCC visibility pop
