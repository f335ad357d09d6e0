// The protocols each product offers and the module file that serves each, in the order they
// are loaded (and offered to the user).
#pragma once

#include <span>

enum class ProtocolSecurity {
    Standard,
    Ssh1,  // not offered in FIPS mode
    Tls,   // not offered in FIPS mode unless TLS is exempted
};

struct ProtocolModuleRow {
    int product;
    const char16_t* name;
    const char16_t* displayName;
    const char16_t* moduleFile;  // without the platform's extension (".so")
    ProtocolSecurity security;
};

// Every row, in table order.
std::span<const ProtocolModuleRow> GetProtocolModuleRows();

struct FipsSettings {
    bool enabled = false;  // the policy "Enable FIPS Mode"
    // The policy "Ignore FIPS Mode for TLS", or the operating system running in FIPS mode so
    // that the TLS libraries the protocols use keep to validated algorithms themselves.
    bool tlsExempt = false;
};

// Whether the row's protocol may be loaded under the settings.
bool IsProtocolAllowed(const ProtocolModuleRow& row, const FipsSettings& fips);
