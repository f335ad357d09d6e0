#include "storage/ciphers/CipherAes.h"

#include "storage/ciphers/YBasicBuffer.h"

namespace CryptUtils {

Cipher::~Cipher() = default;

std::unique_ptr<Cipher> CreateCipher(std::string_view name) {
    struct NamedCipher {
        std::string_view name;
        unsigned keyBits;
    };
    static constexpr NamedCipher kCiphers[] = {
        {"aes128-cbc", 128}, {"aes192-cbc", 192}, {"aes256-cbc", 256}};
    for (const NamedCipher& cipher : kCiphers) {
        if (cipher.name == name) {
            return std::make_unique<CipherAes>(cipher.keyBits);
        }
    }
    return nullptr;
}

bool CipherAes::InitEncrypt(const std::uint8_t* iv, const std::uint8_t* key) {
    mode_.emplace<CryptoPP::CBC_Mode<CryptoPP::AES>::Encryption>(key, GetKeySize(), iv);
    return true;
}

bool CipherAes::InitDecrypt(const std::uint8_t* iv, const std::uint8_t* key) {
    mode_.emplace<CryptoPP::CBC_Mode<CryptoPP::AES>::Decryption>(key, GetKeySize(), iv);
    return true;
}

bool CipherAes::Process(const std::uint8_t* in, std::uint8_t* out, std::size_t length) {
    if (length % GetBlockSize() != 0) {
        return false;
    }
    return std::visit(
        [&](auto& mode) {
            if constexpr (std::is_same_v<std::decay_t<decltype(mode)>, std::monostate>) {
                return false;
            } else {
                mode.ProcessData(out, in, length);
                return true;
            }
        },
        mode_);
}

bool CipherAes::Process(IBuffer& buffer) {
    return Process(buffer.GetBytes(), buffer.GetBytes(), buffer.GetLength());
}

}  // namespace CryptUtils
