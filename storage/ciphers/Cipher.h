// Block ciphers chosen by name, for the enciphered text form of sensitive values.
#pragma once

#include "platform/SecureMemory.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class IBuffer;

namespace CryptUtils {

// One cipher in one chaining mode. Set it up for one direction, then process whole blocks; the
// chaining state runs on from one Process call to the next. Used by one thread at a time.
class Cipher {
public:
    // A cipher holds its key schedule inside itself: every cipher lives in secure memory.
    static void* operator new(std::size_t size) {
        return rivode::platform::AllocateSecureMemory(size);
    }
    static void operator delete(void* data, std::size_t size) noexcept {
        rivode::platform::FreeSecureMemory(data, size);
    }

    virtual ~Cipher();
    virtual std::size_t GetBlockSize() const = 0;
    virtual std::size_t GetIvSize() const = 0;
    virtual std::size_t GetKeySize() const = 0;
    // iv holds GetIvSize() bytes, key GetKeySize() bytes.
    virtual bool InitEncrypt(const std::uint8_t* iv, const std::uint8_t* key) = 0;
    virtual bool InitDecrypt(const std::uint8_t* iv, const std::uint8_t* key) = 0;
    // length must be a multiple of the block size; in and out may be the same. false before
    // set-up or for a partial block.
    virtual bool Process(const std::uint8_t* in, std::uint8_t* out, std::size_t length) = 0;
    // The buffer's bytes in use, in place.
    virtual bool Process(IBuffer& buffer) = 0;
};

// "aes128-cbc", "aes192-cbc" or "aes256-cbc", exactly; null for any other name.
std::unique_ptr<Cipher> CreateCipher(std::string_view name);

}  // namespace CryptUtils
