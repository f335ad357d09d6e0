// The "02:" text form: its block layout and padding, key derivation, and what it refuses.
#include "storage/EncryptedText.h"
#include "tests/storage/encryption/HexBytes.h"

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

// AES-256-CBC with a zero IV under SHA-256 of the passphrase, in either direction.
Bytes RawAes(const Bytes& in, const std::string& passphrase, bool encrypt) {
    const Bytes key = Sha256(passphrase.data(), passphrase.size());
    const Bytes iv(16, 0);
    Bytes out(in.size());
    if (encrypt) {
        CryptoPP::CBC_Mode<CryptoPP::AES>::Encryption(key.data(), key.size(), iv.data())
            .ProcessData(out.data(), in.data(), in.size());
    } else {
        CryptoPP::CBC_Mode<CryptoPP::AES>::Decryption(key.data(), key.size(), iv.data())
            .ProcessData(out.data(), in.data(), in.size());
    }
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

TEST(EncryptedText, BlockHoldsLengthValueDigestAndPaddingToWholeBlocks) {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.substr(0, 20));
        const YUnicodeString text = Encrypt(c.value, u"pass");
        EXPECT_TRUE(std::regex_match(ToUtf8(text), std::regex("02:([0-9a-f]{2})+")));
        const Bytes block = RawAes(Hex(ToUtf8(text).substr(3)), "pass", false);
        const std::size_t length = c.value.size();
        ASSERT_EQ(block.size(), 4 + length + 32 + c.padding);
        EXPECT_EQ(block[0] | block[1] << 8 | block[2] << 16 | block[3] << 24, int(length));
        EXPECT_EQ(std::string(block.begin() + 4, block.begin() + 4 + length), c.value);
        EXPECT_EQ(Bytes(block.begin() + 4 + length, block.begin() + 36 + length),
                  Sha256(c.value.data(), length));
        EXPECT_EQ(Bytes(block.begin() + 36 + length, block.end()), Bytes(c.padding, 0xA5));
    }
}

TEST(EncryptedText, RoundTripsUnderEachCipherAndOnlyUnderItsPassphrase) {
    std::string back;
    const char16_t* passphrases[] = {u"", u"correct horse", u"p\u00e4ss \u2603 \U0001F511"};
    for (const char* cipher : {"aes128-cbc", "aes192-cbc", "aes256-cbc"}) {
        for (const char16_t* passphrase : passphrases) {
            SCOPED_TRACE(std::string(cipher) + " / " + ToUtf8(passphrase));
            const std::string value = "s3cret \xE2\x82\xAC";
            const YUnicodeString text = Encrypt(value, passphrase, cipher);
            EXPECT_TRUE(Decrypt(text, passphrase, back, cipher));
            EXPECT_EQ(back, value);
            EXPECT_FALSE(Decrypt(text, u"other", back));
            YUnicodeString upperCase = text;
            std::transform(text.begin() + 3, text.end(), upperCase.begin() + 3, ::toupper);
            EXPECT_TRUE(Decrypt(upperCase, passphrase, back, cipher));
            EXPECT_EQ(back, value);
        }
    }
    EXPECT_TRUE(Decrypt(u"", u"pass", back));
    EXPECT_EQ(back, "");
    // The sizes really differ: a text made under one cipher does not decipher under another.
    EXPECT_FALSE(Decrypt(Encrypt("abc", u"k", "aes128-cbc"), u"k", back, "aes256-cbc"));
}

TEST(EncryptedText, RefusesMalformedTexts) {
    const YUnicodeString good = Encrypt("value", u"pass");
    // A block that claims more value bytes than it holds, under the right key.
    Bytes overlong(48, 0);
    overlong[0] = 13;  // 13 > 48 - 36
    // A block that is too short to hold the length and the digest at all.
    const Bytes tooShort = RawAes(Bytes(32, 0), "pass", true);
    const YUnicodeString cases[] = {
        u"02",
        u"02:",
        good.substr(0, good.size() - 1),         // odd digit count
        u"03" + good.substr(2),                  // another prefix
        good.substr(0, good.size() - 1) + u"g",  // not a digit
        good.substr(0, good.size() - 2),         // not whole blocks
        u"02:" + FromUtf8(HexOf(tooShort, false)),
        u"02:" + FromUtf8(HexOf(RawAes(overlong, "pass", true), false)),
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
    EXPECT_FALSE(CryptUtils::EncryptToText(value, 1, "aes256-ctr", u"p", nullptr, text));
    EXPECT_EQ(text, u"held");
    // The process-wide source pads differently every time.
    EXPECT_TRUE(CryptUtils::EncryptToText(value, 1, "aes256-cbc", u"p", nullptr, text));
    YUnicodeString again;
    EXPECT_TRUE(CryptUtils::EncryptToText(value, 1, "aes256-cbc", u"p", nullptr, again));
    EXPECT_NE(text, again);
}

TEST(EncryptedText, KeyIsTheDigestOfThePassphraseInUtf8) {
    const std::string passphrase = "p\xC3\xA4ss";  // UTF-8 of the text below
    const Bytes digest = Sha256(passphrase.data(), passphrase.size());
    for (std::size_t size : {16u, 24u, 32u}) {
        YBasicBuffer key(size);
        ASSERT_TRUE(CryptUtils::DeriveKeyFromPassphrase(u"p\u00e4ss", key));
        EXPECT_EQ(Bytes(key.GetBytes(), key.GetBytes() + key.GetLength()),
                  Bytes(digest.begin(), digest.begin() + size));
    }
    YBasicBuffer key(32);
    EXPECT_FALSE(CryptUtils::DeriveKeyFromPassphrase(nullptr, key));
    EXPECT_FALSE(CryptUtils::DeriveKeyFromPassphrase(u"\xD800", key)) << "unpaired surrogate";
}

}  // namespace
}  // namespace rivode::test
