// rivode import-text: sessions from a delimited text file.
#include "tests/cli/sessions/SessionCommandFixture.h"

namespace rivode::test {
namespace {

class RivodeImportTextTest : public RivodeSessionFixture {
protected:
    std::string File(const std::string& text) {
        const std::string path = folder_ / "hosts.txt";
        WriteFileBytes(path, text);
        return path;
    }
};

TEST_F(RivodeImportTextTest, PreviewsThenCreatesTheSessionsAndSummarises) {
    const std::string file = File(
        "alpha.example,Work\\Lab,Alpha,ops,telnet\n"
        "beta.example,,Be/ta,,FTP,extra\n"
        "\n"
        ",,,nobody\n");
    const RivodeRun run =
        Rivode({"import-text", file, "--fields", "host,folder,name,user,protocol"});
    EXPECT_EQ(run.status, 1) << run.err;  // line 4 gives no name
    EXPECT_EQ(run.out,
              "1\tWork/Lab\tAlpha\talpha.example\tops\tTelnet\n"
              "2\t\tBe_ta\tbeta.example\t\tSSH2\tThe following extra data was ignored: extra,\n"
              "2 sessions created, 1 lines skipped\n");
    EXPECT_NE(run.err.find("Line 4 was skipped"), std::string::npos) << run.err;
    EXPECT_EQ(Get("Work\\Lab\\Alpha", "Protocol Name"), "Telnet");
    EXPECT_EQ(Get("Work\\Lab\\Alpha", "Username"), "ops");
    EXPECT_EQ(Get("Be_ta", "Hostname"), "beta.example");
}

TEST_F(RivodeImportTextTest, DryRunAndBadInputWriteNothing) {
    const std::string file = File("h1\tn1\nh2\tn2\n");
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string says;
    } cases[] = {
        {{"--fields", "host,name", "--delimiter", "tab", "--dry-run"}, 0, ""},
        {{"--fields", "host,name", "--delimiter", "none"}, 2, "is not a valid delimiter"},
        {{"--fields", "host,port"}, 2, "not \"port\""},
        {{"--fields", "host,host"}, 2, "each once"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[1]);
        std::vector<std::string> arguments = {"import-text", file};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const RivodeRun run = Rivode(arguments);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(ConfigFile("Sessions/n1.ini")));
    }
    const RivodeRun missing = Rivode({"import-text", folder_ / "none.txt", "--fields", "host"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Unable to open"), std::string::npos) << missing.err;
    // Text not valid UTF-8 after a mark: where, and no session at all.
    const RivodeRun invalid =
        Rivode({"import-text", File("\xEF\xBB\xBFh1\nh\xFF\n"), "--fields", "host"});
    EXPECT_EQ(invalid.status, 1);
    EXPECT_NE(invalid.err.find("line 2, column 2"), std::string::npos) << invalid.err;
    EXPECT_FALSE(std::filesystem::exists(ConfigFile("Sessions/h1.ini")));
}

TEST_F(RivodeImportTextTest, PasswordsAreEncipheredNeverStoredAsTyped) {
    // A configuration without a passphrase, used by a script, enciphers under none (the start-up
    // flow establishes nothing then, so no shared passphrase block is published).
    const RivodeRun run =
        Rivode({"import-text", File("h1,secret1\n"), "--fields", "host,password", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const json result = json::parse(run.out);
    EXPECT_EQ(result.at("created"), 1);
    EXPECT_EQ(result.at("entries").at(0).at("fields").at("password"), "********");
    const std::string stored = Get("h1", "Password V2");
    EXPECT_EQ(stored.find("secret1"), std::string::npos);
    EXPECT_EQ(Decrypt(stored, ""), "secret1\n");
}

}  // namespace
}  // namespace rivode::test
