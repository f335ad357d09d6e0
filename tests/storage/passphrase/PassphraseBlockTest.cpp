#include "storage/passphrase/ConfigPassphraseBlock.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every test starts as a host that never initialised the library.
class PassphraseBlockTest : public ::testing::Test {
protected:
    PassphraseBlockTest() { ReleasePassphraseBlock(); }
    ~PassphraseBlockTest() override { ReleasePassphraseBlock(); }
};

TEST_F(PassphraseBlockTest, FirstAccessWithoutInitialisationMakesAPrivateSetUpBlock) {
    EXPECT_FALSE(IsPassphraseKnown());
    EXPECT_FALSE(GetPassphraseBlock()->IsShared());
    LockedPassphraseBlock block;
    EXPECT_EQ(block->formatMarker, 1u);
    EXPECT_EQ(block->passphraseText[0], u'\0');
}

TEST_F(PassphraseBlockTest, PublishedPassphraseReadsBackWhenItFitsTheBlock) {
    const YUnicodeString cases[] = {u"secret", u"pässwörd ☃ 𝄞", u"", YUnicodeString(964, u'x')};
    for (const YUnicodeString& passphrase : cases) {
        ReleasePassphraseBlock();
        SetConfigPassphrase(passphrase.c_str());
        EXPECT_EQ(GetConfigPassphrase(), passphrase);
        EXPECT_TRUE(IsPassphraseKnown()) << "the empty passphrase counts once published";
    }
    SetConfigPassphrase(u"kept");
    // 965 bytes of value make a 1024-byte cipher block, whose text has 2051 characters; 964 bytes
    // still fit in 1008 bytes (2019 characters).
    SetConfigPassphrase(YUnicodeString(965, u'x').c_str());
    EXPECT_EQ(GetConfigPassphrase(), u"kept");
    // A longer text published earlier leaves nothing of itself behind a shorter one.
    SetConfigPassphrase(YUnicodeString(964, u'y').c_str());
    SetConfigPassphrase(u"short");
    EXPECT_EQ(GetConfigPassphrase(), u"short");
    LockedPassphraseBlock block;
    const char16_t* text = std::begin(block->passphraseText);
    const char16_t* last = std::end(block->passphraseText);
    EXPECT_TRUE(std::all_of(std::find(text, last, u'\0'), last, [](char16_t c) { return c == 0; }));
}

TEST_F(PassphraseBlockTest, DisabledFlagMakesThePassphraseKnownAndEmpty) {
    SetConfigPassphraseDisabled(true);
    EXPECT_TRUE(IsConfigPassphraseDisabled());
    EXPECT_TRUE(IsPassphraseKnown());
    EXPECT_EQ(GetConfigPassphrase(), u"");
    SetConfigPassphraseDisabled(false);
    EXPECT_FALSE(IsPassphraseKnown());
}

TEST_F(PassphraseBlockTest, DamagedTextIsNeitherOverrunNorTakenForAPassphrase) {
    const YUnicodeString damaged[] = {u"02:00ff", YUnicodeString(2048, u'f')};
    for (const YUnicodeString& text : damaged) {
        std::copy(text.begin(), text.end(), LockedPassphraseBlock()->passphraseText);
        EXPECT_EQ(GetConfigPassphrase(), u"");
    }
}

}  // namespace
