// rivode firewall.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace rivode::test {
namespace {

using nlohmann::json;

class RivodeFirewallTest : public RivodeCommandFixture {
protected:
    RivodeRun Firewall(std::vector<std::string> arguments, const std::string& input = {}) {
        arguments.insert(arguments.begin(), {"--config", config_, "firewall"});
        return runner_.Run(arguments, {}, {}, input);
    }
    void WriteSession(const std::string& name, const std::string& firewall) {
        std::filesystem::create_directories(ConfigFile("Sessions"));
        std::ofstream(ConfigFile("Sessions/" + name + ".ini"), std::ios::binary)
            << "\xEF\xBB\xBF"
            << "D:\"Is Session\"=00000001\r\nS:\"Firewall Name\"=" << firewall << "\r\n";
    }
    std::string FileText(const std::string& relative) const {
        std::ifstream in(ConfigFile(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(RivodeFirewallTest, ALoginTypeTakesItsPasswordFromStandardInputOnly) {
    const RivodeRun made =
        Firewall({"new", "Corp", "--type", "http_basicauth", "--user", "bob"}, "pa55word\n");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(FileText("Firewalls/Corp.ini").find("pa55word"), std::string::npos);
    const RivodeRun shown = Firewall({"show", "corp", "--json"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const json values = json::parse(shown.out);
    EXPECT_EQ(values["name"], "Corp");
    EXPECT_EQ(values["type"], "HTTP_BASICAUTH");
    EXPECT_EQ(values["passwordStored"], true);
    EXPECT_EQ(values["port"], 1080);

    const RivodeRun inArguments = Firewall({"set", "Corp", "password", "pa55word"});
    EXPECT_EQ(inArguments.status, 2);
    // Without a line on standard input nothing is stored.
    const RivodeRun noInput = Firewall({"new", "Other", "--type", "SOCKSv5_USERPASS"});
    EXPECT_EQ(noInput.status, 2);
    EXPECT_FALSE(std::filesystem::exists(ConfigFile("Firewalls/Other.ini")));
}

TEST_F(RivodeFirewallTest, BadValuesGetTheLibrarysMessageAndWriteNothing) {
    const RivodeRun percent =
        Firewall({"new", "Jump", "--type", "Proxy Command", "--command", "ssh -W %h:%q jump"});
    EXPECT_EQ(percent.status, 1);
    EXPECT_NE(percent.err.find("unexpected character after %."), std::string::npos);
    const RivodeRun reserved = Firewall({"new", "NONE", "--type", "HTTP"});
    EXPECT_EQ(reserved.status, 1);
    EXPECT_EQ(Firewall({"new", "X", "--type", "None"}).status, 2);
    EXPECT_EQ(Firewall({"new", "X", "--type", "HTTP", "--port", "65536"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(ConfigFile("Firewalls")));

    ASSERT_EQ(
        Firewall({"new", "Jump", "--type", "Proxy Command", "--command", "nc %h %p 100%%"}).status,
        0);
    EXPECT_EQ(Firewall({"set", "Jump", "command", "nc %"}).status, 1);
    const RivodeRun shown = Firewall({"show", "Jump"});
    EXPECT_NE(shown.out.find("proxy command\tnc %h %p 100%%\n"), std::string::npos);
    EXPECT_EQ(Firewall({"show", "Nowhere"}).status, 1);
}

TEST_F(RivodeFirewallTest, RenameCountsTheSessionsItUpdatedAndDeleteLeavesThem) {
    ASSERT_EQ(Firewall({"new", "Corp", "--type", "SOCKSv4"}).status, 0);
    WriteSession("A", "Corp");
    WriteSession("B", "corp");
    WriteSession("C", "Corp");
    const RivodeRun renamed = Firewall({"rename", "corp", "Corp2"});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(renamed.out, "2 sessions updated\n");
    EXPECT_NE(FileText("Sessions/A.ini").find("\"Firewall Name\"=Corp2\r\n"), std::string::npos);
    EXPECT_NE(FileText("Sessions/B.ini").find("\"Firewall Name\"=corp\r\n"), std::string::npos);

    const std::string before = FileText("Sessions/A.ini");
    ASSERT_EQ(Firewall({"delete", "CORP2"}).status, 0);
    EXPECT_EQ(FileText("Sessions/A.ini"), before);
    const RivodeRun list = Firewall({"list", "--json"});
    EXPECT_EQ(json::parse(list.out), json::array());
}

}  // namespace
}  // namespace rivode::test
