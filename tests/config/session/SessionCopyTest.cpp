// Saving, copying and applying changes: values nobody reads survive, copies save like their
// original, and changes made to the template reach other sessions value by value.
#include "tests/config/session/SessionTestSupport.h"

namespace rivode::test {
namespace {

class SessionCopy : public SessionTest {
protected:
    void SetUp() override {
        Store(u"Source", {{u"Hostname", u"example.net"},
                          {u"Protocol Name", u"Telnet"},
                          {u"Another Product Value", u"keep me"},
                          {u"Newer Version Flag", 7u}});
    }
    // Every value a record lists, with its text form, as the store would show it.
    std::map<YUnicodeString, YUnicodeString> StoredListing(const YUnicodeString& name) {
        std::map<YUnicodeString, YUnicodeString> listing;
        WithKey(name, [&](const YProfileKey& key) {
            for (const auto& [value, kind] : ListOf(key, true)) {
                listing[value] = kind == ValueKindString ? StringOf(key, value).value_or(u"?")
                                 : kind == ValueKindDword
                                     ? FromAscii(std::to_string(DwordOf(key, value).value_or(0)))
                                     : u"";
            }
        });
        return listing;
    }
};

TEST_F(SessionCopy, ValuesNoPartReadsSurviveSavingAndWritingElsewhere) {
    const YRefPtr<SessionConfig> session = LoadSession(u"Source");
    EXPECT_EQ(session->GetForeignValueCount(), 2u);
    session->remoteHostConfig.hostname = u"changed.example.net";
    SaveSession(*session, u"Source");
    EXPECT_EQ(StoredString(u"Source", u"Another Product Value"), u"keep me");
    EXPECT_EQ(StoredString(u"Source", u"Hostname"), u"changed.example.net");

    WithKey(u"Copy", [&](const YProfileKey& key) { ASSERT_TRUE(session->WriteAllTo(key)); });
    auto copy = StoredListing(u"Copy");
    for (const auto& [name, value] : StoredListing(u"Source")) {
        EXPECT_EQ(copy[name], value) << ToUtf8(name);
    }
}

TEST_F(SessionCopy, ValuesNoPartReadsAreWrittenElsewhereInTheOrderOfAListing) {
    Store(u"Mixed", {{u"zeta", 1u},
                     {u"Hostname", u"example.net"},
                     {u"beta", u"b"},
                     {u"Alpha", 2u},
                     {u"alpha", 3u}});
    const YRefPtr<SessionConfig> session = LoadSession(u"Mixed");
    ASSERT_EQ(session->GetForeignValueCount(), 4u);
    WithKey(u"Mixed Copy", [&](const YProfileKey& key) { ASSERT_TRUE(session->WriteAllTo(key)); });
    // Without regard to case first, then exactly: "Alpha" before "alpha".
    const std::string text = ReadFileBytes(Main("Sessions/Mixed Copy.ini"));
    const std::size_t positions[] = {text.find("\"Alpha\""), text.find("\"alpha\""),
                                     text.find("\"beta\""), text.find("\"zeta\"")};
    for (std::size_t i = 0; i < std::size(positions); ++i) {
        ASSERT_NE(positions[i], std::string::npos) << i;
        if (i > 0) {
            EXPECT_LT(positions[i - 1], positions[i]) << i;
        }
    }
}

TEST_F(SessionCopy, AValueOfAnotherProtocolIsForeignAfterASessionOfTheSameNamesThatOwnsIt) {
    Store(u"Serial One", {{u"Protocol Name", u"Serial"}, {u"Com Port", u"COM1"}});
    Store(u"Telnet Two", {{u"Protocol Name", u"Telnet"}, {u"Com Port", u"COM1"}});
    EXPECT_EQ(LoadSession(u"Serial One")->GetForeignValueCount(), 0u);
    EXPECT_EQ(LoadSession(u"Telnet Two")->GetForeignValueCount(), 1u);
    EXPECT_EQ(LoadSession(u"Serial One")->GetForeignValueCount(), 0u);
}

TEST_F(SessionCopy, ClonesAndAssignedRecordsSaveLikeTheirOriginal) {
    const YRefPtr<SessionConfig> original = LoadSession(u"Source");
    original->remoteHostConfig.username = u"me";
    original->SetTransferProtocolName(u"FTP");

    const YRefPtr<ISessionConfig> clone = original->Clone();
    const YRefPtr<SessionConfig> assigned = CreateSessionConfig();
    ASSERT_TRUE(assigned->Assign(*original));
    for (ISessionConfig* copy : {clone.get(), static_cast<ISessionConfig*>(assigned.get())}) {
        EXPECT_TRUE(copy->IsModified());
        EXPECT_EQ(copy->GetTransferProtocolName(), u"FTP");
        EXPECT_NE(copy->GetTransferConnectConfig(), original->GetTransferConnectConfig());
        copy->RevertAll();
        EXPECT_EQ(copy->GetTransferProtocolName(), u"SFTP");
        EXPECT_FALSE(copy->IsModified());
    }

    // A clone saves what the original would: its changes, not the values it loaded.
    const YRefPtr<ISessionConfig> saved = original->Clone();
    WithKey(u"Clone", [&](const YProfileKey& key) { ASSERT_TRUE(saved->Save(key)); });
    EXPECT_EQ(StoredString(u"Clone", u"Username"), u"me");
    EXPECT_EQ(StoredString(u"Clone", u"Transfer Protocol Name"), u"FTP");
    EXPECT_EQ(StoredString(u"Clone", u"Hostname"), std::nullopt);
}

TEST_F(SessionCopy, ApplyingChangesTakesOnlyWhatChangedInTheSource) {
    Store(u"Default", {{u"Idle String", u"ping"}});
    const YRefPtr<SessionConfig> defaults = LoadSession(u"Default");
    const YRefPtr<SessionConfig> target = LoadSession(u"Source");
    defaults->idleNoOpTimeout = 90u;
    defaults->GetTerminalConnectConfig()->SetPort(2222);  // SSH2's port: not the target's protocol
    ASSERT_TRUE(target->ApplyChangesFrom(*defaults));
    EXPECT_EQ(target->idleNoOpTimeout, 90u);
    EXPECT_EQ(target->idleString.Get(), u"");
    EXPECT_EQ(target->remoteHostConfig.hostname.Get(), u"example.net");
    EXPECT_EQ(target->GetProtocolName(), u"Telnet");
    EXPECT_EQ(target->GetConnectConfig()->GetPort(), 23u);

    // A protocol chosen in the template is the template's: the session keeps its own, and
    // takes the settings of its own protocol only from a template of the same protocol.
    defaults->SetProtocolName(u"RLogin");
    ASSERT_TRUE(target->ApplyChangesFrom(*defaults));
    EXPECT_EQ(target->GetProtocolName(), u"Telnet");
    const YRefPtr<SessionConfig> telnetDefaults = LoadSession(u"Default");
    telnetDefaults->SetProtocolName(u"Telnet");
    telnetDefaults->CommitAll();
    telnetDefaults->GetTerminalConnectConfig()->SetPort(2323);
    ASSERT_TRUE(target->ApplyChangesFrom(*telnetDefaults));
    EXPECT_FALSE(target->GetConnectConfig()->BelongsToDefaultSession());
    SaveSession(*target, u"Source");
    EXPECT_EQ(StoredString(u"Source", u"Hostname"), u"example.net");
    EXPECT_EQ(StoredString(u"Source", u"Protocol Name"), u"Telnet");
    EXPECT_EQ(target->GetConnectConfig()->GetPort(), 2323u);
}

TEST_F(SessionCopy, TheRemoteHostPartDecidesWhatBothSlotsSave) {
    const YRefPtr<SessionConfig> session = LoadSession(u"Source");
    session->remoteHostConfig.username = u"me";
    session->remoteHostConfig.firewallName = u"Proxy";
    session->GetTransferConnectConfig()->SetUsername(u"someone else");
    SaveSession(*session, u"Source");
    for (ConnectConfig* config :
         {session->GetTerminalConnectConfig(), session->GetTransferConnectConfig()}) {
        EXPECT_EQ(config->GetUsername(), u"me");
        EXPECT_EQ(config->GetFirewallName(), u"Proxy");
    }
    EXPECT_EQ(StoredString(u"Source", u"Username"), u"me");

    std::map<YUnicodeString, int> visits;
    session->ForEachValue([&](YProfileData& value) { ++visits[value.GetName()]; });
    EXPECT_EQ(visits[u"Username"], 1);
    EXPECT_EQ(visits[u"Port"], 1);
    EXPECT_EQ(visits[u"Protocol Name"], 1);
}

}  // namespace
}  // namespace rivode::test
