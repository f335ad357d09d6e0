// Memory for secrets (passphrases, keys, deciphered values): it never appears in a core dump and
// is zeroed before it is released, so a secret outlives neither a crash nor its own use.
//
// Every buffer that holds a secret comes from here: SecureAllocator for containers,
// AllocateSecureMemory for objects that carry key material (cipher schedules). Texts the public
// API hands out as YUnicodeString are the caller's to wipe (WipeText below, or a host's
// YSecretText).
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

namespace rivode::platform {

// Zeroes size bytes; the compiler may not drop it as a store to memory about to be freed.
void WipeMemory(void* data, std::size_t size) noexcept;

// size bytes, zero-filled and aligned for any object, on pages of their own that core dumps
// leave out. Throws std::bad_alloc when the system has no memory for them. Thread-safe.
void* AllocateSecureMemory(std::size_t size);
// Zeroes memory from AllocateSecureMemory and releases it; size as it was allocated. A released
// region of a few pages is kept to serve the next allocation of the same number of pages (the
// latest released first), zero by then. Null does nothing. Thread-safe.
void FreeSecureMemory(void* data, std::size_t size) noexcept;

// Leaves the whole pages that hold data to data + size out of core dumps: for memory mapped
// elsewhere (shared memory) that holds secrets. Returns 0 or the errno value.
int ExcludeFromCoreDumps(void* data, std::size_t size);

// Makes this process one the system never dumps (nor lets other processes of the user read the
// memory of): for hosts that hold secrets in memory they do not allocate themselves. Returns 0
// or the errno value.
int DisableCoreDumps();

// The standard allocator interface over AllocateSecureMemory, for containers of secrets. A
// container that grows releases (and so zeroes) its previous buffer.
template <class T>
class SecureAllocator {
public:
    using value_type = T;

    SecureAllocator() noexcept = default;
    template <class U>
    SecureAllocator(const SecureAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return static_cast<T*>(AllocateSecureMemory(count * sizeof(T)));
    }
    void deallocate(T* data, std::size_t count) noexcept {
        FreeSecureMemory(data, count * sizeof(T));
    }

    template <class U>
    bool operator==(const SecureAllocator<U>&) const noexcept {
        return true;
    }
};

// Secret bytes and secret UTF-8 text. Vectors rather than strings: a short string keeps its
// characters inside the string object, where the allocator never sees them.
using SecureBytes = std::vector<std::uint8_t, SecureAllocator<std::uint8_t>>;
using SecureChars = std::vector<char, SecureAllocator<char>>;

inline std::string_view AsText(const SecureChars& chars) {
    return {chars.data(), chars.size()};
}

// Zeroes a text that held a secret, over its whole capacity (a shortened text may still hold the
// end of the secret), and empties it.
template <class Char>
void WipeText(std::basic_string<Char>& text) noexcept {
    text.resize(text.capacity());
    WipeMemory(text.data(), text.size() * sizeof(Char));
    text.clear();
}

// text in UTF-8, strictly as ToUtf8Strict converts it: false for an unpaired surrogate.
[[nodiscard]] bool ToSecureUtf8(std::u16string_view text, SecureChars& out);

}  // namespace rivode::platform

#pragma GCC visibility pop
