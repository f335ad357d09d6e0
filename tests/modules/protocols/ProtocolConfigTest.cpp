// A protocol's configuration in a session's key: what each protocol stores, how it reads back,
// how copies and comparisons behave, and that the rest of the session's key is left alone.
#include "modules/ConnectProtocols.h"
#include "modules/ProtocolConnectConfig.h"

#include "tests/storage/IniFileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rivode::test {
namespace {

ConnectConfigPtr NewConfig(std::u16string_view protocol) {
    return MakeYRef<modules::ProtocolConnectConfig>(*modules::FindConnectProtocol(protocol));
}

class ProtocolConfig : public IniStoreTest {
protected:
    std::unique_ptr<YProfileStore> store_ = OpenStore();
    // A key object reads its file when first used and writes it when destroyed.
    std::unique_ptr<YProfileKey> Session(std::u16string_view name) {
        return std::make_unique<YProfileKey>(store_->GetRootKey(), name, true);
    }
};

TEST_F(ProtocolConfig, EachProtocolStoresItsOwnValuesAndReadsThemBack) {
    // The values each protocol keeps (sorted); the setters of the others change nothing.
    struct Case {
        std::u16string_view protocol;
        std::vector<YUnicodeString> stored;
        const char16_t* description;
    };
    const Case cases[] = {
        {u"SSH2",
         {u"Credential Title", u"Firewall Name", u"Password V2", u"Port", u"Use Agent",
          u"Username"},
         u"SSH2, alice@build:2222"},
        {u"FTP/SSL (implicit)",
         {u"Firewall Name", u"Password V2", u"Port", u"Username"},
         u"FTP/SSL (implicit), alice@build:2222"},
        {u"Raw", {u"Firewall Name", u"Port"}, u"Raw, build:2222"},
        {u"Serial", {u"Baud Rate", u"Com Port"}, u"Serial"},
        {u"Local Shell", {}, u"Local Shell"},
    };
    for (const auto& [protocol, stored, description] : cases) {
        SCOPED_TRACE(ToUtf8(protocol));
        const auto keeps = [&stored](std::u16string_view name) {
            return std::find(stored.begin(), stored.end(), name) != stored.end();
        };
        const YUnicodeString name = u"Sessions\\" + YUnicodeString(protocol).substr(0, 3);
        ConnectConfigPtr edited = NewConfig(protocol);
        edited->SetPort(2222);
        edited->SetUsername(u"alice");
        EXPECT_EQ(edited->SetPassword(u"s3cret"), keeps(u"Password V2"));
        edited->SetFirewallName(u"Corporate");
        edited->SetCredentialTitle(u"Work");
        ASSERT_TRUE(edited->Save(*Session(name)));

        const auto key = Session(name);
        std::vector<YUnicodeString> names;
        for (const auto& [value, kind] : ListOf(*key, true)) {
            names.push_back(value);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, stored);
        if (const auto password = StringOf(*key, u"Password V2")) {
            EXPECT_EQ(password->substr(0, 3), u"02:") << "passwords are stored enciphered";
        }
        ConnectConfigPtr loaded = NewConfig(protocol);
        EXPECT_EQ(loaded->Load(key.get()), !stored.empty());
        EXPECT_FALSE(loaded->IsChanged());
        EXPECT_TRUE(loaded->IsEqual(*edited));
        EXPECT_EQ(loaded->GetPassword(), keeps(u"Password V2") ? u"s3cret" : u"");
        // The description shows the port that was read back.
        EXPECT_EQ(loaded->GetDescription(u"build"), description);
    }
}

TEST_F(ProtocolConfig, SavingRewritesOnlyWhatChangedAndLeavesOtherValuesAlone) {
    {
        const auto key = Session(u"Sessions\\host");
        ASSERT_TRUE(key->SetString(u"Hostname", u"build") && key->SetDword(u"Port", 2022) &&
                    key->SetString(u"Com Port", u"/dev/ttyS1") &&
                    key->SetDword(u"Use Firewall", 1));
        ConnectConfigPtr config = NewConfig(u"SSH2");
        ASSERT_TRUE(config->Load(key.get()));
        config->SetUsername(u"bob");
        ASSERT_TRUE(config->Save(*key));
    }
    const auto key = Session(u"Sessions\\host");
    EXPECT_EQ(StringOf(*key, u"Hostname"), u"build");
    EXPECT_EQ(DwordOf(*key, u"Port"), 2022u);
    EXPECT_EQ(StringOf(*key, u"Com Port"), u"/dev/ttyS1") << "another protocol's value";
    EXPECT_EQ(StringOf(*key, u"Username"), u"bob");
    // Sessions from before "Firewall Name" chose the default firewall with a switch.
    EXPECT_EQ(StringOf(*key, u"Firewall Name"), u"DefaultTerminalFirewall");
}

TEST_F(ProtocolConfig, ClonesCompareEqualAndCarryOnlyChangesWhenCopiedFrom) {
    ConnectConfigPtr original = NewConfig(u"SFTP");
    original->SetUsername(u"alice");
    ASSERT_TRUE(original->SetPassword(u"s3cret"));
    original->CommitAll();

    ConnectConfigPtr clone = original->Clone();
    EXPECT_TRUE(clone->IsEqual(*original));
    EXPECT_EQ(clone->GetPassword(), u"s3cret");
    clone->SetUsername(u"bob");
    EXPECT_TRUE(clone->IsChanged());
    EXPECT_FALSE(clone->IsEqual(*original));

    // Many sessions take one edit: only the changed user name travels, not the port.
    ConnectConfigPtr other = NewConfig(u"SFTP");
    other->SetPort(8022);
    other->CommitAll();
    EXPECT_TRUE(other->CopyChangesFrom(*clone));
    EXPECT_EQ(other->GetUsername(), u"bob");
    EXPECT_EQ(other->GetPort(), 8022u);

    ConnectConfigPtr scp = NewConfig(u"SCP");
    EXPECT_FALSE(scp->IsEqual(*NewConfig(u"SFTP"))) << "same values, another protocol";
    EXPECT_FALSE(scp->CopyChangesFrom(*clone));
    EXPECT_EQ(scp->GetUsername(), u"");
}

}  // namespace
}  // namespace rivode::test
