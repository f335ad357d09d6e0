// Zeroing texts that held a secret (a plaintext, a passphrase) before they are freed. Buffers
// the library owns come from secure memory instead (platform/SecureMemory.h); this is for the
// texts that travel through the public API as YUnicodeString. Hosts hold theirs in a
// YSecretText, which wipes with the same helper.
#pragma once

#include "platform/SecureMemory.h"

namespace rivode::storage {

using platform::WipeText;

}  // namespace rivode::storage
