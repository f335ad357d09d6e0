// A protocol's configuration in a session's key: what each protocol stores, how it reads back,
// how copies and comparisons behave, and that the rest of the session's key is left alone.
#include "modules/ConnectProtocols.h"
#include "modules/ProtocolConnectConfig.h"

#include "tests/storage/IniFileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rivode::test {
namespace {

using modules::FindConnectProtocol;
using modules::ProtocolConnectConfig;

ConnectConfigPtr NewConfig(std::u16string_view protocol) {
    return MakeYRef<ProtocolConnectConfig>(*FindConnectProtocol(protocol));
}

std::vector<YUnicodeString> ValueNames(const YProfileKey& key) {
    std::vector<YUnicodeString> names;
    for (const auto& [name, kind] : ListOf(key, true)) {
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ProtocolConfig : public IniStoreTest {
protected:
    std::unique_ptr<YProfileStore> store_ = OpenStore();
    YProfileKey& Session(std::u16string_view name) {
        keys_.push_back(std::make_unique<YProfileKey>(store_->GetRootKey(), name, true));
        return *keys_.back();
    }
    // Writes every open key and starts over with a new store, as the next process would.
    void Reopen() {
        for (const auto& key : keys_) {
            ASSERT_TRUE(key->Flush());
        }
        keys_.clear();
        store_ = OpenStore();
    }

private:
    std::vector<std::unique_ptr<YProfileKey>> keys_;
};

TEST_F(ProtocolConfig, EachProtocolStoresItsOwnValuesAndReadsThemBack) {
    struct Case {
        std::u16string_view protocol;
        std::vector<YUnicodeString> stored;
        std::uint32_t port;
        const char16_t* username;
        const char16_t* credential;
    };
    const Case cases[] = {
        {u"SSH2",
         {u"Credential Title", u"Firewall Name", u"Password V2", u"Port", u"Use Agent", u"Username"},
         2222, u"alice", u"Work"},
        {u"FTP/SSL (implicit)", {u"Firewall Name", u"Password V2", u"Port", u"Username"}, 2222,
         u"alice", u""},
        {u"Raw", {u"Firewall Name", u"Port"}, 2222, u"", u""},
        {u"Serial", {u"Baud Rate", u"Com Port"}, 0, u"", u""},
        {u"Local Shell", {}, 0, u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.protocol));
        const YUnicodeString name = u"Sessions\\" + YUnicodeString(c.protocol).substr(0, 3);
        ConnectConfigPtr edited = NewConfig(c.protocol);
        edited->SetPort(2222);
        edited->SetUsername(u"alice");
        EXPECT_EQ(edited->SetPassword(u"s3cret"), *c.username != u'\0');
        edited->SetFirewallName(u"Corporate");
        edited->SetCredentialTitle(u"Work");
        ASSERT_TRUE(edited->Save(Session(name)));
        Reopen();

        YProfileKey& key = Session(name);
        EXPECT_EQ(ValueNames(key), c.stored);
        if (const auto password = StringOf(key, u"Password V2")) {
            EXPECT_EQ(password->substr(0, 3), u"02:") << "passwords are stored enciphered";
            EXPECT_EQ(password->find(u"s3cret"), YUnicodeString::npos);
        }
        ConnectConfigPtr loaded = NewConfig(c.protocol);
        EXPECT_EQ(loaded->Load(&key), !c.stored.empty());
        EXPECT_EQ(loaded->GetPort(), c.port);
        EXPECT_EQ(loaded->GetUsername(), c.username);
        EXPECT_EQ(loaded->GetPassword(), *c.username != u'\0' ? u"s3cret" : u"");
        EXPECT_EQ(loaded->GetCredentialTitle(), c.credential);
        EXPECT_FALSE(loaded->IsChanged());
        EXPECT_TRUE(loaded->IsEqual(*edited));
    }
}

TEST_F(ProtocolConfig, SavingLeavesTheSessionsOtherValuesAlone) {
    YProfileKey& key = Session(u"Sessions\\host");
    ASSERT_TRUE(key.SetString(u"Hostname", u"build.example") && key.SetDword(u"Port", 2022) &&
                key.SetString(u"Com Port", u"/dev/ttyS1") &&
                key.SetStringArray(u"Description", {u"first", u"second"}));
    ConnectConfigPtr config = NewConfig(u"SSH2");
    ASSERT_TRUE(config->Load(&key));
    config->SetUsername(u"bob");
    ASSERT_TRUE(config->Save(key));
    Reopen();

    YProfileKey& reread = Session(u"Sessions\\host");
    EXPECT_EQ(StringOf(reread, u"Hostname"), u"build.example");
    EXPECT_EQ(DwordOf(reread, u"Port"), 2022u);
    EXPECT_EQ(StringOf(reread, u"Com Port"), u"/dev/ttyS1") << "another protocol's value";
    YStringArray description;
    EXPECT_TRUE(reread.GetStringArray(u"Description", description));
    EXPECT_EQ(description, (YStringArray{u"first", u"second"}));
    EXPECT_EQ(StringOf(reread, u"Username"), u"bob");
}

TEST_F(ProtocolConfig, ClonesCompareEqualAndCarryOnlyChangesWhenCopiedFrom) {
    YProfileKey& key = Session(u"Sessions\\host");
    ASSERT_TRUE(key.SetDword(u"Port", 2022) && key.SetString(u"Username", u"alice"));
    ConnectConfigPtr original = NewConfig(u"SFTP");
    ASSERT_TRUE(original->Load(&key));
    ASSERT_TRUE(original->SetPassword(u"s3cret"));
    original->CommitAll();

    ConnectConfigPtr clone = original->Clone();
    EXPECT_EQ(clone->GetProtocolName(), u"SFTP");
    EXPECT_TRUE(clone->IsEqual(*original));
    EXPECT_EQ(clone->GetPassword(), u"s3cret");
    EXPECT_FALSE(clone->IsChanged());

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
    EXPECT_TRUE(original->CopyFrom(*clone));
    EXPECT_TRUE(original->IsEqual(*clone));

    ConnectConfigPtr scp = NewConfig(u"SCP");
    EXPECT_FALSE(scp->IsEqual(*NewConfig(u"SFTP"))) << "same values, another protocol";
    EXPECT_FALSE(scp->CopyFrom(*clone));
    EXPECT_FALSE(scp->CopyChangesFrom(*clone));
    EXPECT_EQ(scp->GetUsername(), u"");
}

TEST_F(ProtocolConfig, SessionsFromBeforeTheFirewallNameKeepTheirFirewall) {
    struct Case {
        const char16_t* session;
        std::optional<std::uint32_t> useFirewall;
        std::optional<YUnicodeString> firewallName;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"Sessions\\on", 1, std::nullopt, u"DefaultTerminalFirewall"},
        {u"Sessions\\off", 0, std::nullopt, u"None"},
        {u"Sessions\\named", 1, u"Corporate", u"Corporate"},
        {u"Sessions\\new", std::nullopt, std::nullopt, u"None"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.session));
        YProfileKey& key = Session(c.session);
        if (c.useFirewall) {
            ASSERT_TRUE(key.SetDword(u"Use Firewall", *c.useFirewall));
        }
        if (c.firewallName) {
            ASSERT_TRUE(key.SetString(u"Firewall Name", *c.firewallName));
        }
        ConnectConfigPtr config = NewConfig(u"Telnet");
        (void)config->Load(&key);
        EXPECT_EQ(config->GetFirewallName(), c.expected);
        ASSERT_TRUE(config->Save(key));
        EXPECT_EQ(StringOf(key, u"Firewall Name"), c.expected) << "written under its own name";
    }
}

TEST(ProtocolConfigDescription, NamesTheProtocolAndWhereItConnects) {
    struct Case {
        std::u16string_view protocol;
        const char16_t* username;
        const char16_t* comPort;
        const char16_t* hostname;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"SSH2", u"alice", u"", u"build.example", u"SSH2, alice@build.example:22"},
        {u"Telnet", u"", u"", u"build.example", u"Telnet, build.example:23"},
        {u"SSH2", u"alice", u"", u"", u"SSH2"},
        {u"Local Shell", u"", u"", u"build.example", u"Local Shell"},
        {u"Serial", u"", u"/dev/ttyS0", u"", u"Serial, /dev/ttyS0 9600"},
        {u"Serial", u"", u"", u"", u"Serial"},
    };
    for (const Case& c : cases) {
        ConnectConfigPtr config = NewConfig(c.protocol);
        config->SetUsername(c.username);
        config->ForEachValue([&c](YProfileData& value) {
            YReportMessageParams report;
            if (value.GetName() == u"Com Port") {
                EXPECT_TRUE(value.SetTextVariant(YVariant(YUnicodeString(c.comPort)), report));
            }
        });
        EXPECT_EQ(config->GetDescription(c.hostname), c.expected);
    }
}

}  // namespace
}  // namespace rivode::test
