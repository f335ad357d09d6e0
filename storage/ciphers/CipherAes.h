// AES in CBC mode without cipher padding: callers hand in whole blocks.
#pragma once

#include "storage/ciphers/Cipher.h"

#include <cryptopp/aes.h>
#include <cryptopp/modes.h>

#include <variant>

namespace CryptUtils {

class CipherAes : public Cipher {
public:
    // keyBits: 128, 192 or 256.
    explicit CipherAes(unsigned keyBits) : keyBits_(keyBits) {}

    std::size_t GetBlockSize() const override { return CryptoPP::AES::BLOCKSIZE; }
    std::size_t GetIvSize() const override { return CryptoPP::AES::BLOCKSIZE; }
    std::size_t GetKeySize() const override { return keyBits_ / 8; }
    bool InitEncrypt(const std::uint8_t* iv, const std::uint8_t* key) override;
    bool InitDecrypt(const std::uint8_t* iv, const std::uint8_t* key) override;
    bool Process(const std::uint8_t* in, std::uint8_t* out, std::size_t length) override;
    bool Process(IBuffer& buffer) override;

private:
    unsigned keyBits_;
    std::variant<std::monostate, CryptoPP::CBC_Mode<CryptoPP::AES>::Encryption,
                 CryptoPP::CBC_Mode<CryptoPP::AES>::Decryption>
        mode_;
};

}  // namespace CryptUtils
