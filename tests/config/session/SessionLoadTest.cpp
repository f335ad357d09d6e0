// Loading a session: defaults, older stored forms, protocol choice and the template "Default".
#include "tests/config/session/SessionTestSupport.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YMessageTable.h>
#include <RivodeRavudaVU/YProfileCapiString.h>

#include "platform/Environment.h"
#include "tests/davaraze/ScopedEnvironment.h"

#include <set>

namespace rivode::test {
namespace {

class SessionLoad : public SessionTest {};

// The defaults a session derives come from the global record, the host's messages and the user's
// folders; the protocols from the table. One save writes every part, protocols included.
TEST_F(SessionLoad, AHostAloneDerivesItsDefaultsAndSavesEveryValue) {
    YMessageTable host;
    host.AddText(kMessageLanguageEnglish, msg::DefaultKeywordListName, u"Default\r\n");
    RegisterHostMessageTable(&host);
    {
        const auto store = OpenStore();
        const YProfileKey global(store->GetRootKey(), kGlobalKeyName, true);
        ASSERT_TRUE(global.SetDword(u"Line Send Delay", 17));
    }
    Store(u"Host", {{u"Is Session", 1u}, {u"Hostname", u"example.net"}});
    const YRefPtr<SessionConfig> session = LoadSession(u"Host");
    RegisterHostMessageTable(nullptr);

    EXPECT_FALSE(session->idleCheck);
    EXPECT_EQ(session->lineSendDelay, 17u);  // the global record's value
    EXPECT_EQ(session->keywordSet.Get(), u"Default");
    EXPECT_EQ(session->uploadDirectory.Get(), FromUtf8(platform::GetHomeFolder()));
    EXPECT_EQ(session->GetProtocolName(), u"SSH2");
    EXPECT_EQ(session->GetTransferProtocolName(), u"SFTP");
    EXPECT_FALSE(session->HasUnknownProtocol());
    EXPECT_EQ(session->GetConnectionDescription(), u"SSH2, example.net:22");
    EXPECT_FALSE(session->IsModified());

    // Every value missing from the key is pending, so one save writes them all (the terminal
    // part's older color values are only read).
    SaveSession(*session, u"Host");
    std::set<YUnicodeString> stored;
    WithKey(u"Host", [&](const YProfileKey& key) {
        for (const auto& [name, kind] : ListOf(key, true)) {
            stored.insert(name);
        }
    });
    std::set<YUnicodeString> terminalValues;
    TerminalConfig::Table().ForEach(session->terminalConfig, [&](YProfileData& value) {
        terminalValues.insert(value.GetName());
    });
    std::size_t checked = 0;
    session->ForEachValue([&](YProfileData& value) {
        if (!terminalValues.contains(value.GetName())) {
            ++checked;
            EXPECT_TRUE(stored.contains(value.GetName())) << ToUtf8(value.GetName());
        }
    });
    EXPECT_GT(checked, SessionConfig::Table().GetSize());
}

// Desktops write the user's folders into user-dirs.dirs without exporting them.
TEST_F(SessionLoad, TransferFoldersComeFromTheDesktopsUserDirsFile) {
    ScopedEnvironment environment;
    environment.Set("XDG_CONFIG_HOME", temp_.Path().c_str());
    environment.Set("HOME", "/home/ann");
    environment.Set("XDG_DOWNLOAD_DIR", nullptr);
    environment.Set("XDG_DOCUMENTS_DIR", nullptr);
    WriteFileBytes(temp_ / "user-dirs.dirs",
                   "# written by the desktop\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"
                   "XDG_DOWNLOAD_DIR=\"/data/Incoming\"\n");
    Store(u"Host", {{u"Is Session", 1u}});
    const YRefPtr<SessionConfig> session = LoadSession(u"Host");
    EXPECT_EQ(session->downloadDirectory.Get(), u"/data/Incoming");

    // A folder the desktop disabled (the home folder) falls back to the documents folder.
    WriteFileBytes(temp_ / "user-dirs.dirs",
                   "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_DOWNLOAD_DIR=\"$HOME/\"\n");
    EXPECT_EQ(LoadSession(u"Host")->downloadDirectory.Get(), u"/home/ann/Docs/download");
}

TEST_F(SessionLoad, NewRecordsStorePathsRelativeToTheConfigurationFolderInForce) {
    // New records are copies of one made once; a move of the configuration folder must reach
    // the copies made after it.
    const auto storedScript = [this](const std::string& folder) {
        SetYwsConfigPathSub(FromUtf8(folder));
        const YRefPtr<SessionConfig> session = CreateSessionConfig();
        session->scriptFilename = FromUtf8(folder + "/scripts/logon.txt");
        SaveSession(*session, u"Host");
        return StoredString(u"Host", u"Script Filename");
    };
    const std::string elsewhere = temp_ / "elsewhere";
    EXPECT_EQ(storedScript(MainRoot()), u"${YWS_CONFIG_PATH}/scripts/logon.txt");
    EXPECT_EQ(storedScript(elsewhere), u"${YWS_CONFIG_PATH}/scripts/logon.txt");
    EXPECT_EQ(storedScript(MainRoot()), u"${YWS_CONFIG_PATH}/scripts/logon.txt");
}

struct MigrationCase {
    const char* what;
    StoredValues stored;
    std::function<void(const SessionConfig&)> check;
};

TEST_F(SessionLoad, OlderAndOutOfRangeValuesSettleWithoutModifyingTheRecord) {
    const std::vector<MigrationCase> cases = {
        {"idle timeout 0",
         {{u"Idle Timeout", 0u}},
         [](const SessionConfig& s) {
             EXPECT_EQ(s.idleTimeout, 300u);
             EXPECT_FALSE(s.idleCheck);
         }},
        {"idle timeout too long",
         {{u"Idle Timeout", 20000000u}},
         [](const SessionConfig& s) {
             EXPECT_EQ(s.idleTimeout, 9999999u);
             EXPECT_TRUE(s.idleCheck);
         }},
        {"idle check stored",
         {{u"Idle Timeout", 600u}, {u"Idle Check", 0u}},
         [](const SessionConfig& s) {
             EXPECT_EQ(s.idleTimeout, 600u);
             EXPECT_FALSE(s.idleCheck);
         }},
        {"xmodem 128",
         {{u"XModem Send Packet Size", 128u}},
         [](const SessionConfig& s) { EXPECT_EQ(s.xmodemSendPacketSize, 0u); }},
        {"xmodem 1024",
         {{u"XModem Send Packet Size", 1024u}},
         [](const SessionConfig& s) { EXPECT_EQ(s.xmodemSendPacketSize, 1024u); }},
        {"trace 3",
         {{u"Quillfile Trace Level", 3u}},
         [](const SessionConfig& s) { EXPECT_EQ(s.quillfileTraceLevel, 4u); }},
        {"trace 0",
         {{u"Quillfile Trace Level", 0u}},
         [](const SessionConfig& s) { EXPECT_EQ(s.quillfileTraceLevel, 0u); }},
        {"trace 9",
         {{u"Quillfile Trace Level", 9u}},
         [](const SessionConfig& s) { EXPECT_EQ(s.quillfileTraceLevel, 9u); }},
        {"trace V2 wins",
         {{u"Quillfile Trace Level", 3u}, {u"Quillfile Trace Level V2", 1u}},
         [](const SessionConfig& s) { EXPECT_EQ(s.quillfileTraceLevel, 1u); }},
        {"use firewall",
         {{u"Use Firewall", 1u}},
         [](const SessionConfig& s) {
             EXPECT_EQ(s.remoteHostConfig.firewallName.Get(), u"DefaultTerminalFirewall");
             EXPECT_EQ(s.GetConnectConfig()->GetFirewallName(), u"DefaultTerminalFirewall");
         }},
        {"firewall name wins",
         {{u"Use Firewall", 1u}, {u"Firewall Name", u"Proxy"}},
         [](const SessionConfig& s) {
             EXPECT_EQ(s.remoteHostConfig.firewallName.Get(), u"Proxy");
         }},
        {"highlighting style 1",
         {{u"Highlighting Style", 1u}},
         [](const SessionConfig& s) {
             EXPECT_FALSE(s.highlightReverseVideo);
             EXPECT_TRUE(s.highlightBold);
             EXPECT_FALSE(s.highlightColor);
         }},
        {"highlighting style 7",
         {{u"Highlighting Style", 7u}, {u"Highlight Color", 1u}},
         [](const SessionConfig& s) {
             EXPECT_TRUE(s.highlightReverseVideo);
             EXPECT_FALSE(s.highlightBold);
             EXPECT_TRUE(s.highlightColor);
         }},
        {"not a session",
         {{u"Is Session", 0u}},
         [](const SessionConfig& s) { EXPECT_TRUE(s.isSession); }},
        {"own send delays",
         {{u"Line Send Delay", 9u}, {u"Character Send Delay", 3u}},
         [](const SessionConfig& s) {
             EXPECT_EQ(s.lineSendDelay, 9u);
             EXPECT_EQ(s.characterSendDelay, 3u);
         }},
    };
    for (const MigrationCase& test : cases) {
        SCOPED_TRACE(test.what);
        const YUnicodeString name = FromUtf8(test.what);
        Store(name, test.stored);
        const YRefPtr<SessionConfig> session = LoadSession(name);
        test.check(*session);
        EXPECT_FALSE(session->IsModified());
    }
}

TEST_F(SessionLoad, OlderSensitiveTextsMoveToEncipheredValues) {
    // The user's own protection key is made in a configuration home of this test.
    ScopedEnvironment environment;
    environment.Set("XDG_CONFIG_HOME", temp_.Path().c_str());
    YUnicodeString capiScript;
    ASSERT_TRUE(YProfileCapiString::Encode(u"ogin:\r\nroot\r\n", capiScript));
    YEncryptedString newerScript;
    ASSERT_TRUE(newerScript.SetPlaintext(u"\r\nogin:\r\nadmin", u"session secret"));
    // How each older form deciphers and is cleared is LegacyUpgrade.EachDecodableForm...'s; one
    // plain row shows the load upgrades the rows that carry an older name.
    Store(u"Older", {{u"Monitor Password", u"watch"},
                     {u"Login Script V2", newerScript.GetEncryptedText()},
                     {u"Login Script", capiScript}});
    Store(u"Oldest", {{u"Login Script", capiScript}, {u"Send Initial Carriage Return", 1u}});

    const YRefPtr<SessionConfig> older = LoadSession(u"Older");
    EXPECT_EQ(GetProfileEncryptedPlaintextString(older->monitorPassword), u"watch");
    // The enciphered older script wins over the oldest one.
    EXPECT_EQ(older->loginScript.GetPairs(), (ExpectSendPairs{{u"ogin:", u"admin"}}));
    EXPECT_TRUE(older->sendInitialCarriageReturn);
    EXPECT_FALSE(older->IsModified());
    for (const auto name : {u"Monitor Password", u"Login Script", u"Login Script V2"}) {
        EXPECT_EQ(StoredString(u"Older", name), YUnicodeString()) << ToUtf8(name);
    }
    // Written at load: a second record reads the current forms without the older ones.
    EXPECT_EQ(LoadSession(u"Older")->loginScript.GetPairs(), older->loginScript.GetPairs());

    const YRefPtr<SessionConfig> oldest = LoadSession(u"Oldest");
    EXPECT_EQ(oldest->loginScript.GetPairs(), (ExpectSendPairs{{u"ogin:", u"root"}}));
    EXPECT_FALSE(oldest->sendInitialCarriageReturn);
}

TEST_F(SessionLoad, OlderSensitiveTextsStayWhileSensitiveDataIsDisabled) {
    Store(u"Older", {{u"Monitor Password", u"watch"}, {u"Login Script", u"ogin:"}});
    SetConfigPassphraseDisabled(true);
    const YRefPtr<SessionConfig> session = LoadSession(u"Older");
    SetConfigPassphraseDisabled(false);
    EXPECT_TRUE(session->loginScript.GetEncryptedText().empty());
    EXPECT_EQ(StoredString(u"Older", u"Monitor Password"), u"watch");
    EXPECT_EQ(StoredString(u"Older", u"Login Script"), u"ogin:");
}

TEST_F(SessionLoad, EncipheredValuesReadOnlyUnderTheirPassphrase) {
    YRefPtr<SessionConfig> session = LoadSession(u"Secret");
    ASSERT_TRUE(session->loginScript.SetPairs({{u"ogin:", u"me", true}}));
    ASSERT_TRUE(UpdateProfileEncryptedString(session->monitorPassword, u"pw"));
    SaveSession(*session, u"Secret");

    session = LoadSession(u"Secret");
    EXPECT_EQ(session->loginScript.GetPairs(), (ExpectSendPairs{{u"ogin:", u"me", true}}));
    EXPECT_EQ(GetProfileEncryptedPlaintextString(session->monitorPassword), u"pw");
    SetConfigPassphrase(u"another");
    EXPECT_TRUE(session->loginScript.GetPairs().empty());
    EXPECT_TRUE(GetProfileEncryptedPlaintextString(session->monitorPassword).empty());
}

TEST_F(SessionLoad, ProtocolNamesChooseFromTheTableOfTheirSide) {
    struct Case {
        const char16_t* session;
        StoredValues stored;
        const char16_t* terminal;
        const char16_t* transfer;
        bool unknown;
    };
    const std::vector<Case> cases = {
        {u"Telnet", {{u"Protocol Name", u"telnet"}}, u"telnet", u"SFTP", false},
        {u"Bogus", {{u"Protocol Name", u"Bogus"}}, u"SSH2", u"SFTP", true},
        {u"Wrong side", {{u"Transfer Protocol Name", u"Telnet"}}, u"SSH2", u"SFTP", true},
        {u"None",
         {{u"Protocol Name", u"None"}, {u"Transfer Protocol Name", u"FTP"}},
         u"None",
         u"FTP",
         false},
        {u"Empty", {{u"Protocol Name", u""}}, u"None", u"SFTP", false},
        {u"Default",
         {{u"Protocol Name", u""}, {u"Transfer Protocol Name", u""}},
         u"SSH2",
         u"SFTP",
         false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(ToUtf8(test.session));
        Store(test.session, test.stored);
        const YRefPtr<SessionConfig> session = LoadSession(test.session);
        EXPECT_EQ(session->GetProtocolName(), test.terminal);
        EXPECT_EQ(session->GetTransferProtocolName(), test.transfer);
        EXPECT_EQ(session->HasTerminalProtocol(), YUnicodeString(test.terminal) != u"None");
        EXPECT_EQ(session->HasUnknownProtocol(), test.unknown);
        if (session->HasTerminalProtocol()) {
            EXPECT_TRUE(
                EqualsNoCase(session->GetConnectConfig()->GetProtocolName(), test.terminal));
        }
        EXPECT_FALSE(session->IsModified());
    }
    YReportMessageParams trace = LoadSession(u"Bogus")->GetTerminalSlot().GetLoadTrace();
    EXPECT_EQ(trace.GetMessageId(), msg::UnknownProtocolUsingDefault);
    EXPECT_NE(YUnicodeString(trace.GetText()).find(u"Unknown protocol \"Bogus\" using default"),
              YUnicodeString::npos);
}

TEST_F(SessionLoad, TheDefaultSessionIsStoredWhenMissingAndMarksItsProtocols) {
    const YRefPtr<SessionConfig> template_ = CreateSessionConfig();
    template_->SetPath(u"Default");
    template_->Load(nullptr);
    EXPECT_EQ(StoredString(u"Default", u"Protocol Name"), u"SSH2");
    EXPECT_TRUE(template_->GetTerminalConnectConfig()->BelongsToDefaultSession());
    EXPECT_TRUE(template_->GetTransferConnectConfig()->BelongsToDefaultSession());

    // Once stored, a record loaded without a key leaves the stored one alone.
    Store(u"Default", {{u"Hostname", u"kept"}});
    const YRefPtr<SessionConfig> again = CreateSessionConfig();
    again->SetPath(u"Default");
    again->Load(nullptr);
    EXPECT_EQ(StoredString(u"Default", u"Hostname"), u"kept");

    const YRefPtr<SessionConfig> work = LoadSession(u"Server");
    EXPECT_FALSE(work->GetTerminalConnectConfig()->BelongsToDefaultSession());
    work->SetPath(u"Work\\Server");
    EXPECT_EQ(work->GetName(), u"Server");
}

}  // namespace
}  // namespace rivode::test
