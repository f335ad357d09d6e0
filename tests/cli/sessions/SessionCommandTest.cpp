// rivode session new|show|get|set: one session's values.
#include "tests/cli/sessions/SessionCommandFixture.h"

namespace rivode::test {
namespace {

class RivodeSessionTest : public RivodeSessionFixture {};

TEST_F(RivodeSessionTest, NewSessionCopiesTheDefaultAndTakesItsChoices) {
    Succeed({"session", "set", "Default", "Scrollback", "2000"});
    Succeed({"folder", "new", "Work"});
    Succeed({"session", "new", "Work/Jump", "--protocol", "telnet", "--host", "jump.example.net",
             "--user", "ops"});
    const std::map<std::string, json> values = Show("Work\\Jump");
    const std::map<std::string, json> expected = {
        {"Hostname", "jump.example.net"},
        {"Username", "ops"},
        // The module's own spelling, and the port of the protocol chosen.
        {"Protocol Name", "Telnet"},
        {"Port", 23},
        {"Scrollback", 2000},
        {"Rows", 24},
    };
    for (const auto& [name, value] : expected) {
        ASSERT_EQ(values.count(name), 1u) << name;
        EXPECT_EQ(values.at(name).at("value"), value) << name;
        EXPECT_EQ(values.at(name).at("source"), "store") << name;
    }
    EXPECT_EQ(values.at("Monitor Password V2").at("type"), "encrypted");
}

TEST_F(RivodeSessionTest, SetStoresTypedValuesThatGetShows) {
    Succeed({"session", "new", "Server"});
    const struct {
        std::vector<std::string> words;
        std::string get;
    } cases[] = {
        {{"Rows", "0x30"}, "48\n"},
        {{"Use Title Bar", "true"}, "true\n"},
        {{"Title Bar", "build host"}, "build host\n"},
        {{"Quillfile Bookmarks", "/srv", "/home"}, "/srv\n/home\n"},
        {{"Protocol Name", "rlogin"}, "RLogin\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words[0]);
        std::vector<std::string> set = {"session", "set", "Server"};
        set.insert(set.end(), c.words.begin(), c.words.end());
        Succeed(set);
        EXPECT_EQ(Rivode({"session", "get", "Server", c.words[0]}).out, c.get);
    }
    // Another protocol comes with its own configuration, not the old one's values.
    EXPECT_EQ(Get("Server", "Port"), "513");
}

TEST_F(RivodeSessionTest, EncryptedValuesTakeTheirPlaintextUnderTheConfigPassphrase) {
    Succeed({"session", "new", "Server"});
    // Without a configuration passphrase the value is enciphered under none.
    ASSERT_EQ(
        RivodeWithInput({"session", "set", "Server", "Monitor Password V2"}, "hunter2\n").status,
        0);
    EXPECT_EQ(Decrypt(Get("Server", "Monitor Password V2"), ""), "hunter2\n");

    // Once the folder has a passphrase, only that passphrase enciphers.
    const std::string check = RivodeWithInput({"encrypt", "--passphrase-stdin"}, "pw\npw\n").out;
    Succeed({"set", "Global", "Config Passphrase", "--string", check.substr(0, check.size() - 1)});
    const struct {
        std::vector<std::string> extra;
        std::string input;
        int status;
        std::string says;
    } cases[] = {
        // Not on a terminal, nobody can be asked.
        {{}, "hunter3\n", 1, "A passphrase is required but prompting is not allowed."},
        {{"--passphrase-stdin"},
         "wrong\nhunter3\n",
         1,
         "The passphrase that was entered is not correct."},
        {{"--passphrase-stdin"}, "pw\n", 2, "standard input ended"},
        {{"--passphrase-stdin"}, "pw\nhunter3\n", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        std::vector<std::string> set = {"session", "set", "Server", "Monitor Password V2"};
        set.insert(set.end(), c.extra.begin(), c.extra.end());
        const RivodeRun run = RivodeWithInput(set, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    const std::string stored = Get("Server", "Monitor Password V2");
    EXPECT_EQ(stored.rfind("02:", 0), 0u) << "show and get never decipher";
    EXPECT_EQ(Decrypt(stored, "pw"), "hunter3\n");

    // The same plaintext again keeps the stored text: fresh padding would rewrite the file for
    // nothing.
    const std::string before = ReadFileBytes(ConfigFile("Sessions/Server.ini"));
    ASSERT_EQ(
        RivodeWithInput({"session", "set", "Server", "Monitor Password V2", "--passphrase-stdin"},
                        "pw\nhunter3\n")
            .status,
        0);
    EXPECT_EQ(ReadFileBytes(ConfigFile("Sessions/Server.ini")), before);
}

TEST_F(RivodeSessionTest, WrongNamesAndValuesAreRefused) {
    Succeed({"session", "new", "Server"});
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string says;
    } cases[] = {
        {{"session", "get", "Server", "No Such Value"}, 2, "No Such Value"},
        {{"session", "set", "Server", "rows", "30"}, 2, "\"rows\""},
        {{"session", "set", "Server", "Rows", "many"}, 2, "not a number"},
        // A number the value itself refuses: the library says why.
        {{"session", "set", "Server", "Auto Reconnect", "5"},
         1,
         "cannot set \"Auto Reconnect\": The option 'Auto Reconnect' could not be set: "},
        {{"session", "set", "Server", "Monitor Password V2", "plain"}, 2, "standard input"},
        {{"session", "set", "Server", "Protocol Name", "Gopher"}, 2, "SSH2"},
        // Without the file-transfer product installed there are no transfer protocols.
        {{"session", "set", "Server", "Transfer Protocol Name", "SFTP"}, 2, "file-transfer"},
        {{"session", "set", "Server", "Protocol Name", "None", "SSH2"}, 2, "one protocol"},
        {{"session", "new", "Other", "--protocol", "Gopher"}, 2, "Gopher"},
        {{"session", "get", "Missing", "Rows"}, 1, "no session \"Missing\""},
        {{"session", "show", "Missing"}, 1, "no session"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const RivodeRun run = Rivode(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(Get("Server", "Rows"), "24");
    // Refused commands store nothing, not even the default session they opened.
    EXPECT_EQ(Listing(""), (std::vector<std::string>{"Server"}));
}

}  // namespace
}  // namespace rivode::test
