// Zeroing texts that held a secret (a plaintext, a passphrase in UTF-8) before they are freed.
#pragma once

#include <cryptopp/misc.h>

#include <string>

namespace rivode::storage {

template <class Char>
void WipeText(std::basic_string<Char>& text) {
    // The whole capacity: a shortened text may still hold the end of the secret.
    text.resize(text.capacity());
    CryptoPP::SecureWipeBuffer(text.data(), text.size());
    text.clear();
}

}  // namespace rivode::storage
