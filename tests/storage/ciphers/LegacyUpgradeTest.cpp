// Moving an older sensitive value K to its enciphered "K V2" value.
#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/YLegacySensitiveValue.h>
#include <RivodeRavudaVU/YProfileCapiString.h>
#include <RivodeRavudaVU/YProfileEncodedString.h>

#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/storage/MemoryKey.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class LegacyUpgrade : public ::testing::Test {
protected:
    LegacyUpgrade() {
        environment_.Set("XDG_CONFIG_HOME", home_.Path().c_str());
        SetConfigPassphrase(u"current");
    }
    ~LegacyUpgrade() override {
        SetConfigPassphraseDisabled(false);
        SetConfigPassphrase(nullptr);
    }

    // The V2 member as a record initialises it from the key before upgrading.
    YProfileEncryptedString InitialisedV2(const YUnicodeString& name) {
        YProfileEncryptedString v2;
        v2.Init(key.get(), name + u" V2", YEncryptedString{});
        return v2;
    }
    const YUnicodeString* Stored(std::u16string_view name) const {
        return stored->Find<YUnicodeString>(name);
    }

    TempFolder home_;
    ScopedEnvironment environment_;
    std::shared_ptr<MemoryValues> stored = std::make_shared<MemoryValues>();
    std::unique_ptr<YProfileKey> key = MakeMemoryKey(stored);
};

TEST_F(LegacyUpgrade, EachDecodableFormMovesToTheV2ValueUnderTheCurrentPassphrase) {
    YUnicodeString capi;
    YUnicodeString encoded;
    ASSERT_TRUE(YProfileCapiString::Encode(u"from capi", capi));
    ASSERT_TRUE(YProfileEncodedString::Encode(u"from xor", encoded));
    const struct {
        YLegacyTextForm form;
        YUnicodeString text;
        YUnicodeString plaintext;
    } cases[] = {
        {YLegacyTextForm::Capi, capi, u"from capi"},
        {YLegacyTextForm::Encoded, encoded, u"from xor"},
        {YLegacyTextForm::Plain, u"from plain", u"from plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.plaintext));
        key->SetString(u"Password", c.text);
        stored->values.erase(u"Password V2");
        YProfileEncryptedString v2 = InitialisedV2(u"Password");

        ASSERT_TRUE(UpgradeLegacySensitiveValue(*key, u"Password", c.form, v2));
        EXPECT_EQ(*Stored(u"Password"), u"") << "the older value is cleared";
        YUnicodeString plaintext;
        EXPECT_TRUE(v2.GetPlaintext(plaintext, u"current"));
        EXPECT_EQ(plaintext, c.plaintext);
        EXPECT_TRUE(v2.Save(*key));
        EXPECT_EQ(*Stored(u"Password V2"), v2.GetEncryptedText());

        // Once the V2 value exists the cleared older value is never read again.
        YProfileEncryptedString again = InitialisedV2(u"Password");
        EXPECT_FALSE(UpgradeLegacySensitiveValue(*key, u"Password", c.form, again));
    }
}

TEST_F(LegacyUpgrade, LeavesTheStoreAloneWhenThereIsNothingToDoOrNoWayToDoIt) {
    key->SetString(u"Monitor Password", u"plain");
    key->SetString(u"Monitor Password V2", u"02:already");
    key->SetString(u"Account", u"");
    key->SetString(u"Password", u"00112233445566778899aabbccddeeff");
    stored->writes = 0;
    const struct {
        const char16_t* name;
        YLegacyTextForm form;
    } cases[] = {
        {u"Monitor Password", YLegacyTextForm::Plain},  // V2 exists
        {u"Account", YLegacyTextForm::Plain},           // nothing to upgrade
        {u"Absent", YLegacyTextForm::Plain},
        // Without the fixed keys the double-enciphered form does not decode: it stays stored.
        {u"Password", YLegacyTextForm::DoubleBlowfish},
        {u"Password", YLegacyTextForm::Capi},
    };
    for (const auto& c : cases) {
        YProfileEncryptedString v2 = InitialisedV2(c.name);
        const YUnicodeString before = v2.GetEncryptedText();
        EXPECT_FALSE(UpgradeLegacySensitiveValue(*key, c.name, c.form, v2)) << ToUtf8(c.name);
        EXPECT_EQ(v2.GetEncryptedText(), before);
    }
    EXPECT_EQ(stored->writes, 0);

    // A store that refuses the write keeps the older value and the V2 value stays as it was.
    key->SetString(u"Other", u"value");
    stored->refuseWrites = true;
    YProfileEncryptedString v2 = InitialisedV2(u"Other");
    EXPECT_FALSE(UpgradeLegacySensitiveValue(*key, u"Other", YLegacyTextForm::Plain, v2));
    EXPECT_EQ(v2.GetEncryptedText(), u"");
}

TEST_F(LegacyUpgrade, WithSensitiveDataDisabledClearsTheOlderValueWithoutEnciphering) {
    key->SetString(u"Firewall Password", u"plain");
    SetConfigPassphraseDisabled(true);
    YProfileEncryptedString v2 = InitialisedV2(u"Firewall Password");
    EXPECT_TRUE(
        UpgradeLegacySensitiveValue(*key, u"Firewall Password", YLegacyTextForm::Plain, v2));
    EXPECT_EQ(*Stored(u"Firewall Password"), u"");
    EXPECT_EQ(v2.GetEncryptedText(), u"");
}

}  // namespace
}  // namespace rivode::test
