// Zeroing texts that held a secret (a plaintext, a passphrase) before they are freed. Buffers
// the library owns come from secure memory instead (platform/SecureMemory.h); this is for the
// texts that travel through the public API as YUnicodeString.
#pragma once

#include "platform/SecureMemory.h"

#include <string>

namespace rivode::storage {

template <class Char>
void WipeText(std::basic_string<Char>& text) {
    // The whole capacity: a shortened text may still hold the end of the secret.
    text.resize(text.capacity());
    platform::WipeMemory(text.data(), text.size() * sizeof(Char));
    text.clear();
}

}  // namespace rivode::storage
