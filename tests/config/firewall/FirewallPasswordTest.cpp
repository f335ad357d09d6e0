// A firewall's older "Firewall Password" moves to "Firewall Password V2" once, and never lingers
// readable beside it.
#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/YProfileCapiString.h>

#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/storage/MemoryKey.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class FirewallPasswordTest : public ::testing::Test {
protected:
    FirewallPasswordTest() {
        environment_.Set("XDG_CONFIG_HOME", home_.Path().c_str());
        SetConfigPassphrase(u"current");
    }
    ~FirewallPasswordTest() override {
        SetConfigPassphraseDisabled(false);
        SetConfigPassphrase(nullptr);
    }
    YRefPtr<FirewallConfig> Load() {
        YRefPtr<FirewallConfig> firewall = CreateFirewallConfig(u"Corp");
        firewall->Load(MakeMemoryKey(stored_).get());
        return firewall;
    }

    TempFolder home_;
    ScopedEnvironment environment_;
    std::shared_ptr<MemoryValues> stored_ = std::make_shared<MemoryValues>();
};

TEST_F(FirewallPasswordTest, TheOlderValueIsEmptiedAndBecomesTheV2Value) {
    YUnicodeString capi;
    ASSERT_TRUE(YProfileCapiString::Encode(u"old secret", capi));
    stored_->values[u"Firewall Type"] = YUnicodeString(u"HTTP_BASICAUTH");
    stored_->values[u"Firewall Password"] = capi;
    const YRefPtr<FirewallConfig> firewall = Load();
    EXPECT_EQ(*stored_->Find<YUnicodeString>(u"Firewall Password"), u"");
    EXPECT_EQ(firewall->GetPassword(), u"old secret");
    ASSERT_TRUE(firewall->Save(*MakeMemoryKey(stored_)));
    EXPECT_EQ(Load()->GetPassword(), u"old secret");
}

TEST_F(FirewallPasswordTest, AnExistingV2ValueWinsAndTheOlderCopyIsStillEmptied) {
    const YRefPtr<FirewallConfig> current = CreateFirewallConfig(u"Corp");
    ASSERT_TRUE(current->SetPassword(u"new secret"));
    stored_->values[u"Firewall Password V2"] = current->password.Get().GetEncryptedText();
    YUnicodeString capi;
    ASSERT_TRUE(YProfileCapiString::Encode(u"old secret", capi));
    stored_->values[u"Firewall Password"] = capi;
    EXPECT_EQ(Load()->GetPassword(), u"new secret");
    EXPECT_EQ(*stored_->Find<YUnicodeString>(u"Firewall Password"), u"");
}

TEST_F(FirewallPasswordTest, WhileSensitiveDataIsDisabledNothingMoves) {
    YUnicodeString capi;
    ASSERT_TRUE(YProfileCapiString::Encode(u"old secret", capi));
    stored_->values[u"Firewall Password"] = capi;
    SetConfigPassphraseDisabled(true);
    Load();
    EXPECT_EQ(*stored_->Find<YUnicodeString>(u"Firewall Password"), capi);
    EXPECT_FALSE(stored_->Has(u"Firewall Password V2"));
}

}  // namespace
}  // namespace rivode::test
