// The 64-bit block cipher of the older double-enciphered sensitive values, with the variations
// those values were written with: the order of the bytes inside each 32-bit half of a block,
// chaining (CBC) or none (ECB), and the number of key bytes used.
//
// Decrypting and encrypting run through an 8-byte chaining register that starts at zero and runs
// on from call to call until Reset. Used by one thread at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace rivode::storage {

class YCipherBlowfish {
public:
    static constexpr std::size_t kBlockSize = 8;
    static constexpr int kRounds = 16;

    YCipherBlowfish();
    ~YCipherBlowfish();
    YCipherBlowfish(const YCipherBlowfish&) = delete;
    YCipherBlowfish& operator=(const YCipherBlowfish&) = delete;

    // Options; set them before SetKey (the key length) or before processing (the others).
    void SetKeyLength(std::size_t bytes) { keyLength_ = bytes; }
    std::size_t GetKeyLength() const { return keyLength_; }
    // Each 32-bit half of a block is read and written least significant byte first.
    void SetLittleEndianWords(bool on) { littleEndian_ = on; }
    void SetChaining(bool on) { chaining_ = on; }

    // Builds the key schedule from the first GetKeyLength() bytes of key and resets the chaining
    // register. false, the cipher unkeyed, when key is shorter than that or the length is
    // outside 1 to 56 bytes.
    [[nodiscard]] bool SetKey(std::span<const std::uint8_t> key);
    // The chaining register back to zero.
    void Reset() { chain_ = {}; }

    // Whole blocks, in place. false, nothing changed, when unkeyed or for a partial block.
    [[nodiscard]] bool Encrypt(std::uint8_t* bytes, std::size_t length);
    [[nodiscard]] bool Decrypt(std::uint8_t* bytes, std::size_t length);

private:
    static const std::array<std::uint32_t, kRounds + 2> kInitialSubkeys;
    static const std::array<std::array<std::uint32_t, 256>, 4> kInitialBoxes;

    std::uint32_t Round(std::uint32_t half) const;
    void EncryptHalves(std::uint32_t& left, std::uint32_t& right) const;
    void DecryptHalves(std::uint32_t& left, std::uint32_t& right) const;
    std::uint32_t ReadWord(const std::uint8_t* bytes) const;
    void WriteWord(std::uint32_t word, std::uint8_t* bytes) const;
    bool CanProcess(std::size_t length) const { return keyed_ && length % kBlockSize == 0; }

    std::array<std::uint32_t, kRounds + 2> subkeys_;
    std::array<std::array<std::uint32_t, 256>, 4> boxes_;
    std::array<std::uint8_t, kBlockSize> chain_{};
    std::size_t keyLength_ = 16;
    bool littleEndian_ = false;
    bool chaining_ = true;
    bool keyed_ = false;
};

}  // namespace rivode::storage
