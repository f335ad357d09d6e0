#include "storage/ciphers/YCipherBlowfish.h"

#include "platform/SecureMemory.h"

namespace rivode::storage {

YCipherBlowfish::YCipherBlowfish() : subkeys_(kInitialSubkeys), boxes_(kInitialBoxes) {}

YCipherBlowfish::~YCipherBlowfish() {
    // The schedule is as secret as the key it was made from.
    platform::WipeMemory(subkeys_.data(), sizeof subkeys_);
    platform::WipeMemory(boxes_.data(), sizeof boxes_);
}

bool YCipherBlowfish::SetKey(std::span<const std::uint8_t> key) {
    keyed_ = false;
    if (keyLength_ == 0 || keyLength_ > 56 || key.size() < keyLength_) {
        return false;
    }
    subkeys_ = kInitialSubkeys;
    boxes_ = kInitialBoxes;
    std::size_t next = 0;
    for (std::uint32_t& subkey : subkeys_) {
        std::uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word = word << 8 | key[next];
            next = (next + 1) % keyLength_;
        }
        subkey ^= word;
    }
    // Each pair of table entries is replaced by the encryption of the previous pair under the
    // schedule made so far.
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    for (std::size_t i = 0; i < subkeys_.size(); i += 2) {
        EncryptHalves(left, right);
        subkeys_[i] = left;
        subkeys_[i + 1] = right;
    }
    for (auto& box : boxes_) {
        for (std::size_t i = 0; i < box.size(); i += 2) {
            EncryptHalves(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
    keyed_ = true;
    Reset();
    return true;
}

std::uint32_t YCipherBlowfish::Round(std::uint32_t half) const {
    return ((boxes_[0][half >> 24] + boxes_[1][(half >> 16) & 0xFF]) ^
            boxes_[2][(half >> 8) & 0xFF]) +
           boxes_[3][half & 0xFF];
}

void YCipherBlowfish::EncryptHalves(std::uint32_t& left, std::uint32_t& right) const {
    for (int i = 0; i < kRounds; ++i) {
        left ^= subkeys_[i];
        right ^= Round(left);
        std::swap(left, right);
    }
    std::swap(left, right);
    right ^= subkeys_[kRounds];
    left ^= subkeys_[kRounds + 1];
}

void YCipherBlowfish::DecryptHalves(std::uint32_t& left, std::uint32_t& right) const {
    for (int i = kRounds + 1; i > 1; --i) {
        left ^= subkeys_[i];
        right ^= Round(left);
        std::swap(left, right);
    }
    std::swap(left, right);
    right ^= subkeys_[1];
    left ^= subkeys_[0];
}

std::uint32_t YCipherBlowfish::ReadWord(const std::uint8_t* bytes) const {
    if (littleEndian_) {
        return std::uint32_t{bytes[3]} << 24 | std::uint32_t{bytes[2]} << 16 |
               std::uint32_t{bytes[1]} << 8 | bytes[0];
    }
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

void YCipherBlowfish::WriteWord(std::uint32_t word, std::uint8_t* bytes) const {
    for (int i = 0; i < 4; ++i) {
        const int shift = littleEndian_ ? 8 * i : 24 - 8 * i;
        bytes[i] = static_cast<std::uint8_t>(word >> shift);
    }
}

bool YCipherBlowfish::Encrypt(std::uint8_t* bytes, std::size_t length) {
    if (!CanProcess(length)) {
        return false;
    }
    for (std::uint8_t* block = bytes; block != bytes + length; block += kBlockSize) {
        if (chaining_) {
            for (std::size_t i = 0; i < kBlockSize; ++i) {
                block[i] ^= chain_[i];
            }
        }
        std::uint32_t left = ReadWord(block);
        std::uint32_t right = ReadWord(block + 4);
        EncryptHalves(left, right);
        WriteWord(left, block);
        WriteWord(right, block + 4);
        std::copy(block, block + kBlockSize, chain_.begin());
    }
    return true;
}

bool YCipherBlowfish::Decrypt(std::uint8_t* bytes, std::size_t length) {
    if (!CanProcess(length)) {
        return false;
    }
    for (std::uint8_t* block = bytes; block != bytes + length; block += kBlockSize) {
        std::array<std::uint8_t, kBlockSize> cipherBlock;
        std::copy(block, block + kBlockSize, cipherBlock.begin());
        std::uint32_t left = ReadWord(block);
        std::uint32_t right = ReadWord(block + 4);
        DecryptHalves(left, right);
        WriteWord(left, block);
        WriteWord(right, block + 4);
        if (chaining_) {
            for (std::size_t i = 0; i < kBlockSize; ++i) {
                block[i] ^= chain_[i];
            }
        }
        chain_ = cipherBlock;
    }
    return true;
}

}  // namespace rivode::storage
