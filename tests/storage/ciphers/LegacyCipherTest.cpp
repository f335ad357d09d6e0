// The older forms of sensitive values: the 64-bit block cipher against its published vectors,
// the double-enciphered text, the per-user protected "CAPI:" text and the XOR-encoded text.
#include <RivodeRavudaVU/YBlowfishString.h>
#include <RivodeRavudaVU/YProfileCapiString.h>
#include <RivodeRavudaVU/YProfileEncodedString.h>

#include "storage/ciphers/YCipherBlowfish.h"
#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/storage/MemoryKey.h"
#include "tests/storage/ciphers/HexBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

namespace rivode::test {
namespace {

using rivode::storage::YCipherBlowfish;

void Configure(YCipherBlowfish& cipher, std::size_t keyLength, bool littleEndian, bool chaining) {
    cipher.SetKeyLength(keyLength);
    cipher.SetLittleEndianWords(littleEndian);
    cipher.SetChaining(chaining);
}

Bytes SwapWords(Bytes block) {
    for (std::size_t i = 0; i < block.size(); i += 4) {
        std::reverse(block.begin() + i, block.begin() + i + 4);
    }
    return block;
}

TEST(LegacyBlockCipher, MatchesThePublishedVectors) {
    struct Vector {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Vector vectors[] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        // Keys longer than 16 bytes.
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344", "FEDCBA9876543210", "E6F51ED79B9DB21F"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210",
         "05044B62FA52D080"},
    };
    for (const Vector& v : vectors) {
        SCOPED_TRACE(std::string(v.key) + " " + v.plain);
        const Bytes key = Hex(v.key);
        YCipherBlowfish cipher;
        Configure(cipher, key.size(), false, false);
        ASSERT_TRUE(cipher.SetKey(key));
        Bytes block = Hex(v.plain);
        ASSERT_TRUE(cipher.Encrypt(block.data(), block.size()));
        EXPECT_EQ(block, Hex(v.cipher));
        ASSERT_TRUE(cipher.Decrypt(block.data(), block.size()));
        EXPECT_EQ(block, Hex(v.plain));
    }
}

TEST(LegacyBlockCipher, ChainsBlocksAsThePublishedChainingVector) {
    // The vector's IV is not zero; with a zero register, combining it into the first block
    // beforehand gives the same cipher text.
    Bytes data = Hex("37363534333231204E6F77206973207468652074696D6520666F722000000000");
    const Bytes iv = Hex("FEDCBA9876543210");
    for (std::size_t i = 0; i < iv.size(); ++i) {
        data[i] ^= iv[i];
    }
    YCipherBlowfish cipher;
    ASSERT_TRUE(cipher.SetKey(Hex("0123456789ABCDEFF0E1D2C3B4A59687")));
    Bytes block = data;
    ASSERT_TRUE(cipher.Encrypt(block.data(), 16));  // the register runs on between calls
    ASSERT_TRUE(cipher.Encrypt(block.data() + 16, 16));
    EXPECT_EQ(block, Hex("6B77B4D63006DEE605B156E27403979358DEB9E7154616D959F1652BD5FF92CC"));
    cipher.Reset();
    ASSERT_TRUE(cipher.Decrypt(block.data(), block.size()));
    EXPECT_EQ(block, data);
}

TEST(LegacyBlockCipher, LittleEndianWordsReverseEachHalfAroundTheCipher) {
    const Bytes key = Hex("0123456789ABCDEFF0E1D2C3B4A59687");
    const Bytes plain = Hex("0011223344556677F0E1D2C3B4A59687");
    YCipherBlowfish bigEndian;
    YCipherBlowfish littleEndian;
    Configure(littleEndian, 16, true, true);
    ASSERT_TRUE(bigEndian.SetKey(key) && littleEndian.SetKey(key));
    Bytes expected = SwapWords(plain);
    ASSERT_TRUE(bigEndian.Encrypt(expected.data(), expected.size()));
    Bytes block = plain;
    ASSERT_TRUE(littleEndian.Encrypt(block.data(), block.size()));
    EXPECT_EQ(block, SwapWords(expected));
}

TEST(LegacyBlockCipher, RefusesShortKeysPartialBlocksAndUseBeforeKeying) {
    YCipherBlowfish cipher;
    Bytes block(8, 0);
    EXPECT_FALSE(cipher.Encrypt(block.data(), 8)) << "not keyed";
    cipher.SetKeyLength(32);
    EXPECT_FALSE(cipher.SetKey(Bytes(16, 1)));
    ASSERT_TRUE(cipher.SetKey(Bytes(32, 1)));
    EXPECT_FALSE(cipher.Encrypt(block.data(), 7));
    EXPECT_EQ(block, Bytes(8, 0));
}

// Test keys in place of the fixed keys of the format.
Bytes TestKey(std::uint8_t first) {
    Bytes key(32);
    std::iota(key.begin(), key.end(), first);
    return key;
}

// The stored form of plaintext bytes (terminating zeros included), as older writers made it.
YUnicodeString DoubleEncipher(Bytes plaintext, unsigned mode, const char16_t* prefix) {
    const bool littleEndian = mode != 0;
    const bool chaining = mode != 1;
    const std::size_t keyLength = mode == 1 ? 32 : 16;
    plaintext.resize((plaintext.size() + 7) / 8 * 8, 0);
    Bytes block = {0xDE, 0xAD, 0xBE, 0xEF};
    block.insert(block.end(), plaintext.begin(), plaintext.end());
    block.insert(block.end(), {0xFE, 0xED, 0xFA, 0xCE});
    YCipherBlowfish inner;
    YCipherBlowfish outer;
    Configure(inner, keyLength, littleEndian, chaining);
    Configure(outer, keyLength, littleEndian, chaining);
    EXPECT_TRUE(inner.SetKey(TestKey(1)) && outer.SetKey(TestKey(0x80)));
    EXPECT_TRUE(inner.Encrypt(block.data() + 4, plaintext.size()));
    EXPECT_TRUE(outer.Encrypt(block.data(), block.size()));
    return prefix + FromUtf8(HexOf(block, true));
}

bool DecodeWithTestKeys(const YUnicodeString& text, unsigned mode, YUnicodeString& plaintext) {
    YBlowfishString value(text, mode);
    value.SetKeys(TestKey(1), TestKey(0x80));
    return value.Decode(plaintext);
}

TEST(DoubleEncipheredText, DecodesEachModeAndWidth) {
    struct Case {
        unsigned mode;
        const char16_t* prefix;
        Bytes stored;
        YUnicodeString expected;
    };
    const Case cases[] = {
        {0, u"", {'C', 'a', 'f', 0xE9, 0, 'x', 'y'}, u"Caf\u00e9"},  // Windows-1252, to the zero
        {0, u"u", {'O', 0, 0x03, 0x26, 0, 0, 'z', 0}, u"O\u2603"},
        {0, u"l", {'a', 0, 0, 0, 0x60, 0x22, 0, 0, 0, 0, 0, 0}, u"a\u2260"},
        {1, u"", {'m', 'o', 'd', 'e', ' ', '1', 0}, u"mode 1"},
        {1, u"u", {'1', 0, '6', 0}, u"16"},  // no terminating zero but the block's own
        {2, u"", {'t', 'w', 'o', ' ', 'b', 'l', 'o', 'c', 'k', 's', 0}, u"two blocks"},
        {2, u"l", {0x80, 0x20, 0, 0, 0, 0, 0, 0}, u"\u2080"},
        {0, u"", {0}, u""},
    };
    for (const Case& c : cases) {
        const YUnicodeString text = DoubleEncipher(c.stored, c.mode, c.prefix);
        SCOPED_TRACE(ToUtf8(text));
        YUnicodeString plaintext;
        EXPECT_TRUE(DecodeWithTestKeys(text, c.mode, plaintext));
        EXPECT_EQ(plaintext, c.expected);
    }
}

TEST(DoubleEncipheredText, RefusesMalformedTextsAndReadsNothingWithoutTheFixedKeys) {
    const YUnicodeString good = DoubleEncipher({'o', 'k', 0}, 0, u"");
    YUnicodeString plaintext = u"stale";
    EXPECT_TRUE(DecodeWithTestKeys(u"", 0, plaintext));
    EXPECT_EQ(plaintext, u"");
    const YUnicodeString malformed[] = {
        good.substr(1),                   // odd digits
        good.substr(0, good.size() - 4),  // not whole blocks
        u"u",
        u"x" + good,
        good + u" ",
        u"00112233445566g7",
    };
    for (const YUnicodeString& text : malformed) {
        EXPECT_FALSE(DecodeWithTestKeys(text, 0, plaintext)) << ToUtf8(text);
        EXPECT_EQ(plaintext, u"");
    }
    EXPECT_FALSE(DecodeWithTestKeys(good, 3, plaintext)) << "unknown mode";
    EXPECT_FALSE(YBlowfishString(good, 0).Decode(plaintext)) << "the fixed keys are empty";
    YBlowfishString shortKeys(good, 1);
    shortKeys.SetKeys(Bytes(16, 1), Bytes(16, 2));
    EXPECT_FALSE(shortKeys.Decode(plaintext)) << "mode 1 uses 32 key bytes";
}

class UserProtectedText : public ::testing::Test {
protected:
    UserProtectedText() { environment_.Set("XDG_CONFIG_HOME", home_.Path().c_str()); }

    std::string KeyFile() const { return home_ / "yarrowby/user.key"; }

    TempFolder home_;
    ScopedEnvironment environment_;
};

TEST_F(UserProtectedText, RoundTripsAndMakesAPrivateKeyOnFirstUse) {
    YUnicodeString plaintext = u"stale";
    EXPECT_FALSE(YProfileCapiString::Decode(u"CAPI:00112233", plaintext)) << "no key yet";
    EXPECT_FALSE(std::filesystem::exists(KeyFile())) << "reading never makes the key";

    for (const YUnicodeString value : {u"", u"p@ss", u"\u00fcber \U0001F511 long value"}) {
        YUnicodeString text;
        ASSERT_TRUE(YProfileCapiString::Encode(value, text));
        EXPECT_TRUE(text.starts_with(u"CAPI:"));
        EXPECT_EQ(text.find_first_of(u"abcdef", 5), YUnicodeString::npos) << "upper-case digits";
        EXPECT_TRUE(YProfileCapiString::Decode(text, plaintext));
        EXPECT_EQ(plaintext, value);
        EXPECT_TRUE(YProfileCapiString::Decode(text.substr(5), plaintext)) << "prefix optional";
        EXPECT_EQ(plaintext, value);
    }
    EXPECT_EQ(std::filesystem::file_size(KeyFile()), 32u);
    EXPECT_EQ(std::filesystem::status(KeyFile()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_TRUE(YProfileCapiString::Decode(u"CAPI:", plaintext));
    EXPECT_EQ(plaintext, u"");
}

TEST_F(UserProtectedText, RefusesDamagedTextsAndAnotherUsersKey) {
    YUnicodeString text;
    ASSERT_TRUE(YProfileCapiString::Encode(u"secret", text));
    YUnicodeString flipped = text;
    flipped[20] = flipped[20] == u'0' ? u'1' : u'0';
    const YUnicodeString damaged[] = {flipped, text.substr(0, text.size() - 1),
                                      text.substr(0, text.size() - 2), text + u"0G",
                                      u"CAPI:" + YUnicodeString(20, u'0')};
    for (const YUnicodeString& bad : damaged) {
        YUnicodeString plaintext = u"untouched";
        EXPECT_FALSE(YProfileCapiString::Decode(bad, plaintext)) << ToUtf8(bad);
        EXPECT_EQ(plaintext, u"untouched");
    }

    // Another key (another user's, or a new machine) opens nothing protected before.
    WriteFileBytes(KeyFile(), std::string(32, 'k'));
    YUnicodeString plaintext;
    EXPECT_FALSE(YProfileCapiString::Decode(text, plaintext));
    // A damaged key file is left as it is: replacing it would lose every value it protects.
    WriteFileBytes(KeyFile(), "short");
    EXPECT_FALSE(YProfileCapiString::Encode(u"x", text));
    EXPECT_EQ(ReadFileBytes(KeyFile()), "short");
}

TEST(EncodedText, DecodesTheMaskedBytesAndRoundTripsThroughAProfileValue) {
    auto stored = std::make_shared<MemoryValues>();
    auto key = MakeMemoryKey(stored);
    YUnicodeString plaintext;
    // Mask 01 02 03 04; "AB\xE9" combined with it, in either case of digits.
    for (const char16_t* text : {u"010203044040eaed", u"010203044040EAED"}) {
        ASSERT_TRUE(YProfileEncodedString::Decode(text, plaintext));
        EXPECT_EQ(plaintext, u"AB\u00e9\u00e9") << ToUtf8(text);
    }
    for (const YUnicodeString value : {u"x", u"password 1234 \u20ac", u""}) {
        YProfileEncodedString written(u"Anonymous Password", value);
        YProfileEncodedString read;
        ASSERT_TRUE(written.Save(*MakeMemoryKey<YProfileCopyKey>(stored)));
        const YUnicodeString& text = *stored->Find<YUnicodeString>(u"Anonymous Password");
        EXPECT_EQ(text.size(), value.empty() ? 0 : 8 + 2 * value.size());
        EXPECT_EQ(text.find_first_of(u"ABCDEF"), YUnicodeString::npos);
        EXPECT_TRUE(read.Init(key.get(), u"Anonymous Password", u"default"));
        EXPECT_EQ(read.Get(), value);
    }
    YUnicodeString text;
    EXPECT_FALSE(YProfileEncodedString::Encode(u"\u2603", text)) << "no Windows-1252 byte";
    for (const char16_t* bad : {u"0102", u"010203044", u"01020304zz", u"01020304 40"}) {
        plaintext = u"untouched";
        EXPECT_FALSE(YProfileEncodedString::Decode(bad, plaintext)) << ToUtf8(bad);
        EXPECT_EQ(plaintext, u"untouched");
    }
}

}  // namespace
}  // namespace rivode::test
