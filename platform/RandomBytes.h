// Cryptographically strong random bytes from the kernel.
#pragma once

#include <cstddef>

#pragma GCC visibility push(default)

namespace rivode::platform {

// Fills count bytes, blocking only until the kernel's source has been seeded after boot. Returns 0
// or the errno value of the failure (the buffer's content is then unspecified). Thread-safe.
int GetRandomBytes(void* buffer, std::size_t count);

}  // namespace rivode::platform

#pragma GCC visibility pop
