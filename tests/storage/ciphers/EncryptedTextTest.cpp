// The "02:" text form: its block layout and padding, key derivation, and what it refuses.
#include "storage/ciphers/EncryptedText.h"
#include "tests/storage/ciphers/HexBytes.h"

#include <cryptopp/aes.h>
#include <cryptopp/modes.h>
#include <cryptopp/sha.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace rivode::test {
namespace {

// Padding bytes of one known value, or a source that has none to give.
class FixedRandomSource : public YUnknown<IRandomSource> {
public:
    explicit FixedRandomSource(std::uint8_t fill, bool fails = false)
        : fill_(fill), fails_(fails) {}
    bool GetRandomBytes(void* buffer, std::size_t count) override {
        std::memset(buffer, fill_, count);
        return !fails_;
    }

private:
    std::uint8_t fill_;
    bool fails_;
};

Bytes Sha256(const void* bytes, std::size_t count) {
    Bytes digest(CryptoPP::SHA256::DIGESTSIZE);
    CryptoPP::SHA256().CalculateDigest(digest.data(), static_cast<const CryptoPP::byte*>(bytes),
                                       count);
    return digest;
}

using Encipher = CryptoPP::CBC_Mode<CryptoPP::AES>::Encryption;
using Decipher = CryptoPP::CBC_Mode<CryptoPP::AES>::Decryption;

// AES-CBC with a zero IV, keyed with the first keySize bytes of SHA-256 of the passphrase.
template <class Direction>
Bytes RawAes(const Bytes& in, const std::string& passphrase, std::size_t keySize = 32) {
    const Bytes key = Sha256(passphrase.data(), passphrase.size());
    const Bytes iv(16, 0);
    Bytes out(in.size());
    Direction(key.data(), keySize, iv.data()).ProcessData(out.data(), in.data(), in.size());
    return out;
}

YUnicodeString Encrypt(const std::string& value, const char16_t* passphrase,
                       std::string_view cipher = CryptUtils::kValueCipher) {
    YUnicodeString text;
    auto random = MakeYRef<FixedRandomSource>(0xA5);
    EXPECT_TRUE(CryptUtils::EncryptToText(value.data(), value.size(), cipher, passphrase,
                                          random.get(), text));
    return text;
}

bool Decrypt(std::u16string_view text, const char16_t* passphrase, std::string& value,
             std::string_view cipher = CryptUtils::kValueCipher) {
    YRefPtr<IBuffer> bytes;
    if (!CryptUtils::DecryptFromText(text, passphrase, bytes, cipher)) {
        return false;
    }
    value.assign(reinterpret_cast<const char*>(bytes->GetBytes()), bytes->GetLength());
    return true;
}

TEST(EncryptedText, BlockHoldsLengthValueDigestAndPaddingUnderTheKeyOfEachCipher) {
    struct Case {
        std::string value;
        std::size_t padding;
    };
    const Case cases[] = {
        {"abc", 9},            // 39 bytes: nine to 48
        {"", 12},              // 36 bytes: twelve to 48
        {"twelve bytes", 16},  // 48 bytes already whole: a full block more
        {"four", 8},           // 40 bytes: eight, the fewest allowed
        {"fifth", 23},         // 41 bytes: seven would be too few, so 23
        {std::string(292, 'x'), 8},
    };
    // The key is the passphrase's digest in UTF-8, cut to the cipher's key size.
    const std::pair<const char*, std::size_t> ciphers[] = {
        {"aes128-cbc", 16}, {"aes192-cbc", 24}, {"aes256-cbc", 32}};
    for (const auto& [cipher, keySize] : ciphers) {
        for (const Case& c : cases) {
            SCOPED_TRACE(cipher + (" " + c.value.substr(0, 20)));
            const YUnicodeString text = Encrypt(c.value, u"p\u00e4ss", cipher);
            EXPECT_TRUE(std::regex_match(ToUtf8(text), std::regex("02:([0-9a-f]{2})+")));
            const Bytes block =
                RawAes<Decipher>(Hex(ToUtf8(text).substr(3)), "p\xC3\xA4ss", keySize);
            const std::size_t length = c.value.size();
            ASSERT_EQ(block.size(), 4 + length + 32 + c.padding);
            EXPECT_EQ(block[0] | block[1] << 8 | block[2] << 16 | block[3] << 24, int(length));
            EXPECT_EQ(std::string(block.begin() + 4, block.begin() + 4 + length), c.value);
            EXPECT_EQ(Bytes(block.begin() + 4 + length, block.begin() + 36 + length),
                      Sha256(c.value.data(), length));
            EXPECT_EQ(Bytes(block.begin() + 36 + length, block.end()), Bytes(c.padding, 0xA5));
            std::string back;
            EXPECT_TRUE(Decrypt(text, u"p\u00e4ss", back, cipher));
            EXPECT_EQ(back, c.value);
        }
    }
}

TEST(EncryptedText, DecryptsDigitsOfEitherCaseOnlyUnderItsPassphraseAndCipher) {
    const std::string value = "s3cret \xE2\x82\xAC";
    const YUnicodeString text = Encrypt(value, u"correct horse");
    YUnicodeString upperCase = text;
    std::transform(text.begin() + 3, text.end(), upperCase.begin() + 3, ::toupper);
    std::string back;
    EXPECT_TRUE(Decrypt(upperCase, u"correct horse", back));
    EXPECT_EQ(back, value);
    EXPECT_FALSE(Decrypt(text, u"other", back));
    EXPECT_FALSE(Decrypt(text, u"correct horse", back, "aes128-cbc"));
    EXPECT_TRUE(Decrypt(u"", u"pass", back));
    EXPECT_EQ(back, "");
}

TEST(EncryptedText, RefusesMalformedTexts) {
    const YUnicodeString good = Encrypt("value", u"pass");
    // A block that claims more value bytes than it holds, under the right key.
    Bytes overlong(48, 0);
    overlong[0] = 13;  // 13 > 48 - 36
    // A block that is too short to hold the length and the digest at all.
    const Bytes tooShort = RawAes<Encipher>(Bytes(32, 0), "pass");
    const YUnicodeString cases[] = {
        u"02",
        u"02:",
        good.substr(0, good.size() - 1),         // odd digit count
        u"03" + good.substr(2),                  // another prefix
        good.substr(0, good.size() - 1) + u"g",  // not a digit
        good.substr(0, good.size() - 2),         // not whole blocks
        u"02:" + FromUtf8(HexOf(tooShort, false)),
        u"02:" + FromUtf8(HexOf(RawAes<Encipher>(overlong, "pass"), false)),
        u" " + good,
    };
    for (const YUnicodeString& text : cases) {
        SCOPED_TRACE(ToUtf8(text));
        std::string back = "unchanged";
        EXPECT_FALSE(Decrypt(text, u"pass", back));
        EXPECT_EQ(back, "unchanged");
    }
}

TEST(EncryptedText, EncryptRefusesMissingInputsAndAFailedRandomSource) {
    YUnicodeString text = u"held";
    const char value[] = "v";
    auto failing = MakeYRef<FixedRandomSource>(0, true);
    EXPECT_FALSE(CryptUtils::EncryptToText(value, 1, "aes256-cbc", u"p", failing.get(), text));
    EXPECT_FALSE(CryptUtils::EncryptToText(nullptr, 0, "aes256-cbc", u"p", nullptr, text));
    EXPECT_FALSE(CryptUtils::EncryptToText(value, 1, "aes256-cbc", nullptr, nullptr, text));
    EXPECT_FALSE(CryptUtils::EncryptToText(value, 1, "aes256-cbc", u"\xD800", nullptr, text))
        << "an unpaired surrogate has no UTF-8 form to derive a key from";
    EXPECT_FALSE(CryptUtils::EncryptToText(value, 1, "aes256-ctr", u"p", nullptr, text));
    EXPECT_EQ(text, u"held");
    // The process-wide source pads differently every time.
    EXPECT_TRUE(CryptUtils::EncryptToText(value, 1, "aes256-cbc", u"p", nullptr, text));
    YUnicodeString again;
    EXPECT_TRUE(CryptUtils::EncryptToText(value, 1, "aes256-cbc", u"p", nullptr, again));
    EXPECT_NE(text, again);
}

}  // namespace
}  // namespace rivode::test
