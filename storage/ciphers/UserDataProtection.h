// Protection of data for the current user, the counterpart of the "CAPI:" values of older
// configurations: only this user, on this machine, can unprotect what was protected.
//
// The data is enciphered with AES-256-GCM under the user's own random 32-byte key, kept in
// $XDG_CONFIG_HOME/yarrowby/user.key (mode 0600, in a folder of mode 0700). Protecting makes the
// key on first use; unprotecting never does. The file is read and made under an exclusive lock
// on its first bytes, so two processes starting at once agree on one key.
//
// A protected blob is laid out as:
//   offset 0      12 bytes  nonce, random for every blob
//   offset 12     n bytes   the data, enciphered
//   offset 12+n   16 bytes  authentication tag over the data and the description
// The description is not stored: unprotecting needs the one the data was protected with, so a
// blob made for one purpose is refused for another.
#pragma once

#include "storage/ciphers/YBasicBuffer.h"

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace rivode::storage {

// false when the key file cannot be made or read, or no random bytes were available.
[[nodiscard]] bool ProtectUserData(std::span<const std::uint8_t> data,
                                   std::u16string_view description,
                                   std::vector<std::uint8_t>& blob);

// false, data unchanged, when there is no key, the key is another one, or the blob or the
// description differ from what was protected.
[[nodiscard]] bool UnprotectUserData(std::span<const std::uint8_t> blob,
                                     std::u16string_view description, YRefPtr<IBuffer>& data);

}  // namespace rivode::storage
