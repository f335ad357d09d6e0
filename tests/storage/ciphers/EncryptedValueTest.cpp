// Enciphered values as records hold them: YEncryptedString, the profile value that stores its
// text, and the two functions that work under the configuration passphrase.
#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileTable.h>

#include "tests/storage/MemoryKey.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

TEST(EncryptedString, OnlyANewPlaintextOrPassphraseEnciphersAnewAndAFailedSetKeepsTheText) {
    YEncryptedString value;
    YUnicodeString plaintext;
    ASSERT_TRUE(value.SetPlaintext(u"abc", u"pass"));
    const YUnicodeString first = value.GetEncryptedText();
    EXPECT_EQ(first.size(), 3u + 96u);
    ASSERT_TRUE(value.SetPlaintext(u"abc", u"pass"));
    EXPECT_EQ(value.GetEncryptedText(), first) << "no fresh padding for an unchanged value";

    // A new passphrase, then a new plaintext, are enciphered anew.
    const std::pair<YUnicodeString, const char16_t*> changes[] = {
        {u"abc", u"new pass"}, {u"\u00e9t\u00e9 \U0001F30A", u"new pass"}};
    for (const auto& [text, passphrase] : changes) {
        const YUnicodeString before = value.GetEncryptedText();
        ASSERT_TRUE(value.SetPlaintext(text, passphrase));
        EXPECT_NE(value.GetEncryptedText(), before);
        EXPECT_TRUE(value.GetPlaintext(plaintext, passphrase));
        EXPECT_EQ(plaintext, text);
    }
    // A damaged stored text is not kept by the attempt to compare it.
    value.SetEncryptedText(u"02:zz");
    EXPECT_FALSE(value.GetPlaintext(plaintext, u""));
    ASSERT_TRUE(value.SetPlaintext(u"kept", u""));
    EXPECT_TRUE(value.GetPlaintext(plaintext, u""));
    EXPECT_EQ(plaintext, u"kept");
    const YUnicodeString held = value.GetEncryptedText();
    EXPECT_FALSE(value.SetPlaintext(YUnicodeString(1, u'\xDC00'), u""))
        << "an unpaired surrogate has no UTF-8 form";
    EXPECT_EQ(value.GetEncryptedText(), held);
}

TEST(EncryptedString, AMalformedTextAndAWrongPassphraseGetTheirOwnReports) {
    YEncryptedString good;
    ASSERT_TRUE(good.SetPlaintext(u"secret", u"pass"));
    const YUnicodeString text = good.GetEncryptedText();
    struct Case {
        YUnicodeString text;
        const char16_t* passphrase;
        std::uint32_t report;
    };
    const Case cases[] = {
        {text, u"other", msg::EncryptedTextWrongPassphrase},
        {text, u"", msg::EncryptedTextWrongPassphrase},
        {u"02:zz", u"pass", msg::EncryptedTextMalformed},
        {text.substr(0, 3 + 64), u"pass", msg::EncryptedTextMalformed},  // under 48 bytes
        {u"03" + text.substr(2), u"pass", msg::EncryptedTextMalformed},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(ToUtf8(test.text));
        YEncryptedString value;
        value.SetEncryptedText(test.text);
        YUnicodeString plaintext = u"untouched";
        YReportMessageParams report;
        EXPECT_FALSE(value.GetPlaintext(plaintext, test.passphrase, report));
        EXPECT_EQ(report.GetMessageId(), test.report);
        EXPECT_EQ(plaintext, u"untouched");
    }
    YUnicodeString plaintext;
    YReportMessageParams report;
    ASSERT_TRUE(good.GetPlaintext(plaintext, u"pass", report));
    EXPECT_EQ(plaintext, u"secret");
}

struct Credentials : YProfileTableRecord<Credentials> {
    YProfileEncryptedString password;
    static const YProfileTable<Credentials>& Table() {
        static const auto table = YProfileTable<Credentials>().Add(
            &Credentials::password, u"Password V2", YEncryptedString{});
        return table;
    }
};

class ProfileEncryptedString : public ::testing::Test {
protected:
    void TearDown() override {
        SetConfigPassphraseDisabled(false);
        SetConfigPassphrase(nullptr);
    }

    std::shared_ptr<MemoryValues> stored = std::make_shared<MemoryValues>();
    std::unique_ptr<YProfileKey> key = MakeMemoryKey(stored);
};

TEST_F(ProfileEncryptedString, StoresTheTextAsItIsAndComparesTexts) {
    // Reading never deciphers: even a text no passphrase opens is carried unchanged.
    key->SetString(u"Password V2", u"02:not-deciphered");
    Credentials record;
    record.Init(key.get());
    EXPECT_EQ(record.password.GetEncryptedText(), u"02:not-deciphered");
    EXPECT_FALSE(record.IsChanged());

    Credentials copy(record);
    ASSERT_TRUE(UpdateProfileEncryptedString(record.password, u"hunter2"));
    EXPECT_TRUE(record.IsChanged());
    EXPECT_TRUE(record.Save(*key));
    const YUnicodeString saved = *stored->Find<YUnicodeString>(u"Password V2");
    EXPECT_EQ(saved, record.password.GetEncryptedText());

    // Setting the plaintext it already holds is no change, so nothing is written again.
    ASSERT_TRUE(UpdateProfileEncryptedString(record.password, u"hunter2"));
    EXPECT_FALSE(record.IsChanged());
    stored->writes = 0;
    EXPECT_TRUE(record.Save(*key));
    EXPECT_EQ(stored->writes, 0);

    EXPECT_TRUE(copy.CopyFrom(record));
    EXPECT_EQ(copy.password.GetEncryptedText(), saved);
}

TEST_F(ProfileEncryptedString, FollowsTheCurrentPassphraseAndHonoursDisabledData) {
    YProfileEncryptedString value(u"Password V2", YEncryptedString{});
    SetConfigPassphrase(u"first");
    ASSERT_TRUE(UpdateProfileEncryptedString(value, u"secret"));
    EXPECT_EQ(GetProfileEncryptedPlaintextString(value), u"secret");
    YUnicodeString plaintext;
    EXPECT_TRUE(value.GetPlaintext(plaintext, u"first"));

    SetConfigPassphrase(u"second");
    EXPECT_EQ(GetProfileEncryptedPlaintextString(value), u"") << "undecipherable reads as empty";

    SetConfigPassphrase(u"first");
    SetConfigPassphraseDisabled(true);
    const YUnicodeString held = value.GetEncryptedText();
    EXPECT_EQ(GetProfileEncryptedPlaintextString(value), u"");
    EXPECT_FALSE(UpdateProfileEncryptedString(value, u"other"));
    EXPECT_EQ(value.GetEncryptedText(), held);

    SetConfigPassphraseDisabled(false);
    EXPECT_EQ(GetProfileEncryptedPlaintextString(value), u"secret");
}

}  // namespace
}  // namespace rivode::test
