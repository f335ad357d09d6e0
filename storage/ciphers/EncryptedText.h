// The enciphered text form of sensitive values, "02:" followed by lower-case hexadecimal of the
// cipher text of this block (no cipher padding, all-zero IV):
//
//   offset 0     4 bytes   length L of the value, unsigned, little-endian
//   offset 4     L bytes   the value
//   offset 4+L   32 bytes  SHA-256 of the value
//   offset 36+L  P bytes   random padding, 8 to 23 bytes, so that the block fills whole blocks
//
// The key is the SHA-256 of the passphrase in UTF-8 (its first 16 or 24 bytes for the smaller
// AES keys). The digest inside the block is what tells a wrong passphrase from a right one.
// Every buffer that held the value or the key is zeroed before it is freed.
#pragma once

#include <RivodeRavudaVU/YEncryptedString.h>

#include "storage/ciphers/YBasicBuffer.h"

#include <string_view>
#include <vector>

namespace CryptUtils {

// The cipher every value is enciphered with.
inline constexpr std::string_view kValueCipher = "aes256-cbc";

// Enciphers length bytes into the "02:" form under passphrase; the padding comes from random, or
// from the process-wide source when random is null. false, text unchanged, when bytes or
// passphrase is missing, the value has 0xFFFFFFFF bytes or more, the cipher name is unknown or
// the random source failed.
[[nodiscard]] bool EncryptToText(const void* bytes, std::size_t length, std::string_view cipherName,
                                 const char16_t* passphrase, IRandomSource* random,
                                 YUnicodeString& text);

enum class DecryptResult {
    Deciphered,
    Malformed,        // not an "02:" text
    WrongPassphrase,  // the block's digest does not match under the passphrase's key
};

// Deciphers an "02:" text (digits of either case) into value; an empty text gives an empty
// value. value is unchanged unless Deciphered. A passphrase that is not valid UTF-16, or a
// cipher name that is not known, cannot be the key of the text: WrongPassphrase.
[[nodiscard]] DecryptResult DecryptText(std::u16string_view text, const char16_t* passphrase,
                                        YRefPtr<IBuffer>& value,
                                        std::string_view cipherName = kValueCipher);
// The same when only success counts.
[[nodiscard]] bool DecryptFromText(std::u16string_view text, const char16_t* passphrase,
                                   YRefPtr<IBuffer>& value,
                                   std::string_view cipherName = kValueCipher);

// The cipher text of an "02:" text, when the text has that form: the prefix, then digits of
// either case for at least 48 bytes in whole 16-byte blocks. Says nothing about the passphrase.
[[nodiscard]] bool DecodeEncryptedText(std::u16string_view text,
                                       std::vector<std::uint8_t>& cipherText);

// Fills key to its capacity from the SHA-256 of passphrase in UTF-8; when the capacity exceeds
// one digest, each further digest is taken over the key bytes made so far. false for a missing
// passphrase or one that is not valid UTF-16; the empty passphrase is valid.
[[nodiscard]] bool DeriveKeyFromPassphrase(const char16_t* passphrase, IBuffer& key);

}  // namespace CryptUtils
