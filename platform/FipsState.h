// Whether the operating system runs in FIPS mode: its cryptographic libraries then use only
// validated algorithms, which includes the TLS libraries the TLS-based protocols use.
#pragma once

#pragma GCC visibility push(default)

namespace rivode::platform {

// From /proc/sys/crypto/fips_enabled; false where the file is missing or unreadable.
bool IsSystemFipsModeEnabled();

}  // namespace rivode::platform

#pragma GCC visibility pop
