#include "storage/ciphers/EncryptedText.h"

#include <RivodeRavudaVU/HexDigits.h>

#include "platform/SecureMemory.h"
#include "storage/ciphers/Cipher.h"
#include "storage/ciphers/Hasher.h"

#include <cryptopp/misc.h>

#include <array>
#include <vector>

namespace CryptUtils {

namespace {

constexpr std::u16string_view kPrefix = u"02:";
constexpr std::size_t kLengthSize = 4;
constexpr std::size_t kDigestSize = 32;
constexpr std::size_t kOverhead = kLengthSize + kDigestSize;
constexpr std::size_t kBlockSize = 16;

// Whole blocks, the last holding at least 8 random bytes.
std::size_t PaddingLength(std::size_t valueLength) {
    const std::size_t rest = kBlockSize - (valueLength + kOverhead) % kBlockSize;
    return rest >= 8 ? rest : rest + kBlockSize;
}

void Digest(const std::uint8_t* bytes, std::size_t count, std::uint8_t* digest) {
    const YRefPtr<IHasher> hasher = Hasher::Create("sha256");
    hasher->Update(bytes, count);
    hasher->Finish(digest);
}

// A cipher of that name set up with the passphrase's key and a zero IV.
std::unique_ptr<Cipher> PrepareCipher(std::string_view cipherName, const char16_t* passphrase,
                                      bool encrypt) {
    std::unique_ptr<Cipher> cipher = CreateCipher(cipherName);
    if (cipher == nullptr) {
        return nullptr;
    }
    YBasicBuffer key(cipher->GetKeySize());
    if (!DeriveKeyFromPassphrase(passphrase, key)) {
        return nullptr;
    }
    const std::vector<std::uint8_t> iv(cipher->GetIvSize(), 0);
    const bool ready = encrypt ? cipher->InitEncrypt(iv.data(), key.GetBytes())
                               : cipher->InitDecrypt(iv.data(), key.GetBytes());
    return ready ? std::move(cipher) : nullptr;
}

}  // namespace

bool DeriveKeyFromPassphrase(const char16_t* passphrase, IBuffer& key) {
    if (passphrase == nullptr) {
        return false;
    }
    rivode::platform::SecureChars utf8;
    if (!rivode::platform::ToSecureUtf8(passphrase, utf8)) {
        return false;
    }
    const YRefPtr<IHasher> hasher = Hasher::Create("sha256");
    hasher->Update(utf8.data(), utf8.size());
    key.SetLength(0);
    YBasicBuffer digest(kDigestSize, true);
    while (key.GetLength() < key.GetCapacity()) {
        hasher->Update(key.GetBytes(), key.GetLength());
        hasher->Finish(digest.GetBytes());
        key.Append(digest.GetBytes(), std::min(kDigestSize, key.GetCapacity() - key.GetLength()));
    }
    return true;
}

bool EncryptToText(const void* bytes, std::size_t length, std::string_view cipherName,
                   const char16_t* passphrase, IRandomSource* random, YUnicodeString& text) {
    if (bytes == nullptr || length >= 0xFFFFFFFFu) {
        return false;
    }
    const std::unique_ptr<Cipher> cipher = PrepareCipher(cipherName, passphrase, true);
    if (cipher == nullptr) {
        return false;
    }
    const std::size_t padding = PaddingLength(length);
    YBasicBuffer block(kOverhead + length + padding, true);
    std::uint8_t* const data = block.GetBytes();
    for (std::size_t i = 0; i < kLengthSize; ++i) {
        data[i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    std::memcpy(data + kLengthSize, bytes, length);
    Digest(data + kLengthSize, length, data + kLengthSize + length);
    const YRefPtr<IRandomSource> source =
        random != nullptr ? YRefPtr<IRandomSource>::Share(random) : GetProcessRandomSource();
    if (!source->GetRandomBytes(data + kOverhead + length, padding) || !cipher->Process(block)) {
        return false;
    }
    YUnicodeString result(kPrefix);
    rivode::AppendHexBytes(data, block.GetLength(), false, result);
    text = std::move(result);
    return true;
}

bool DecodeEncryptedText(std::u16string_view text, std::vector<std::uint8_t>& cipherText) {
    if (text.size() <= kPrefix.size() || !text.starts_with(kPrefix) ||
        !rivode::DecodeHexBytes(text.substr(kPrefix.size()), cipherText)) {
        return false;
    }
    return cipherText.size() >= kOverhead && cipherText.size() % kBlockSize == 0;
}

DecryptResult DecryptText(std::u16string_view text, const char16_t* passphrase,
                          YRefPtr<IBuffer>& value, std::string_view cipherName) {
    if (text.empty()) {
        value = MakeYRef<YBasicBuffer>(0);
        return DecryptResult::Deciphered;
    }
    std::vector<std::uint8_t> cipherText;
    if (!DecodeEncryptedText(text, cipherText)) {
        return DecryptResult::Malformed;
    }
    const std::size_t size = cipherText.size();
    const std::unique_ptr<Cipher> cipher = PrepareCipher(cipherName, passphrase, false);
    YBasicBuffer block(size, true);
    if (cipher == nullptr || !cipher->Process(cipherText.data(), block.GetBytes(), size)) {
        return DecryptResult::WrongPassphrase;
    }
    const std::uint8_t* const data = block.GetBytes();
    std::size_t length = 0;
    for (std::size_t i = 0; i < kLengthSize; ++i) {
        length |= static_cast<std::size_t>(data[i]) << (8 * i);
    }
    // Under another key the length is noise as much as the digest.
    if (length > size - kOverhead) {
        return DecryptResult::WrongPassphrase;
    }
    std::array<std::uint8_t, kDigestSize> digest;
    Digest(data + kLengthSize, length, digest.data());
    if (!CryptoPP::VerifyBufsEqual(digest.data(), data + kLengthSize + length, kDigestSize)) {
        return DecryptResult::WrongPassphrase;
    }
    auto plain = MakeYRef<YBasicBuffer>(length);
    plain->Append(data + kLengthSize, length);
    value = std::move(plain);
    return DecryptResult::Deciphered;
}

bool DecryptFromText(std::u16string_view text, const char16_t* passphrase, YRefPtr<IBuffer>& value,
                     std::string_view cipherName) {
    return DecryptText(text, passphrase, value, cipherName) == DecryptResult::Deciphered;
}

}  // namespace CryptUtils
