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
        const char16_t* description;
    };
    const Case cases[] = {
        {u"SSH2",
         {u"Credential Title", u"Firewall Name", u"Password V2", u"Port", u"Use Agent", u"Username"},
         2222, u"alice", u"Work", u"SSH2, alice@build:2222"},
        {u"FTP/SSL (implicit)", {u"Firewall Name", u"Password V2", u"Port", u"Username"}, 2222,
         u"alice", u"", u"FTP/SSL (implicit), alice@build:2222"},
        {u"Raw", {u"Firewall Name", u"Port"}, 2222, u"", u"", u"Raw, build:2222"},
        {u"Serial", {u"Baud Rate", u"Com Port"}, 0, u"", u"", u"Serial"},
        {u"Local Shell", {}, 0, u"", u"", u"Local Shell"},
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
        EXPECT_EQ(loaded->GetDescription(u"build"), c.description);
    }
}

TEST_F(ProtocolConfig, SavingLeavesTheSessionsOtherValuesAlone) {
    YProfileKey& key = Session(u"Sessions\\host");
    ASSERT_TRUE(key.SetString(u"Hostname", u"build.example") && key.SetDword(u"Port", 2022) &&
                key.SetString(u"Com Port", u"/dev/ttyS1"));
    ConnectConfigPtr config = NewConfig(u"SSH2");
    ASSERT_TRUE(config->Load(&key));
    config->SetUsername(u"bob");
    ASSERT_TRUE(config->Save(key));
    Reopen();

    YProfileKey& reread = Session(u"Sessions\\host");
    EXPECT_EQ(StringOf(reread, u"Hostname"), u"build.example");
    EXPECT_EQ(DwordOf(reread, u"Port"), 2022u);
    EXPECT_EQ(StringOf(reread, u"Com Port"), u"/dev/ttyS1") << "another protocol's value";
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
    EXPECT_TRUE(original->CopyFrom(*clone));
    EXPECT_TRUE(original->IsEqual(*clone));

    ConnectConfigPtr scp = NewConfig(u"SCP");
    EXPECT_FALSE(scp->IsEqual(*NewConfig(u"SFTP"))) << "same values, another protocol";
    EXPECT_FALSE(scp->CopyChangesFrom(*clone));
    EXPECT_EQ(scp->GetUsername(), u"");
}

TEST_F(ProtocolConfig, SessionsFromBeforeTheFirewallNameKeepTheirFirewall) {
    // "Use Firewall" on, off, and on beside a stored "Firewall Name", which wins.
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"on", u"DefaultTerminalFirewall"}, {u"off", u"None"}, {u"named", u"Corporate"}};
    for (const auto& [session, expected] : cases) {
        YProfileKey& key = Session(YUnicodeString(u"Sessions\\") + session);
        ASSERT_TRUE(key.SetDword(u"Use Firewall", YUnicodeString(session) != u"off"));
        if (YUnicodeString(session) == u"named") {
            ASSERT_TRUE(key.SetString(u"Firewall Name", u"Corporate"));
        }
        ConnectConfigPtr config = NewConfig(u"Telnet");
        (void)config->Load(&key);
        ASSERT_TRUE(config->Save(key));
        EXPECT_EQ(StringOf(key, u"Firewall Name"), expected) << ToUtf8(session);
    }
}

}  // namespace
}  // namespace rivode::test
