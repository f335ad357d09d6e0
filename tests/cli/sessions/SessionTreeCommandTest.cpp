// rivode sessions, session new|rename|move|delete, folder ... and default set|apply: the session
// tree.
#include "tests/cli/sessions/SessionCommandFixture.h"

#include <filesystem>

namespace rivode::test {
namespace {

class RivodeSessionTreeTest : public RivodeSessionFixture {
protected:
    void SetUp() override {
        for (const char* arguments : {"folder new Work", "folder new Home", "session new Work/C",
                                      "session new Work/A", "session new Work/B"}) {
            std::istringstream words(arguments);
            std::vector<std::string> split;
            for (std::string word; words >> word;) {
                split.push_back(word);
            }
            Succeed(split);
        }
    }
};

TEST_F(RivodeSessionTreeTest, NamesBreakingTheRulesAreRefusedWithTheLibrarysMessage) {
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        // Each rule and its message is SessionNameTest.EachRuleRefusesWithItsMessageInOrder's;
        // here each command passes the refusal on.
        {{"session", "new", "Work/com1.txt"},
         "'com1.txt' is a reserved device name and cannot be used as a session name."},
        {{"session", "rename", "Work/A", "c"}, "The session name 'c' already exists."},
        {{"folder", "new", "Home"}, "The folder name 'Home' already exists."},
        {{"folder", "rename", "Home", "LPT1"},
         "'LPT1' is a reserved device name and cannot be used as a folder name."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[2]);
        const RivodeRun run = Rivode(c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "rivode: " + c.message + "\n");
    }
    EXPECT_EQ(Listing("", true),
              (std::vector<std::string>{"Work\\", "  C", "  A", "  B", "Home\\"}));
}

// Where renamed, moved and deleted items land in the stored order is SessionItemsTest's; here
// each command reaches the tree and keeps to its own kind of item.
TEST_F(RivodeSessionTreeTest, RenameMoveAndDeleteReachTheTreeAndKeepToTheirKind) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"session", "rename", "Work/A", "Zed"},
          {"session", "move", "Work/Zed", "Home"},
          {"folder", "rename", "Work", "Office"},
          {"session", "delete", "Office/C"},
          {"folder", "delete", "Home"}}) {
        Succeed(arguments);
    }
    EXPECT_EQ(Listing("", true), (std::vector<std::string>{"Office\\", "  B"}));
    EXPECT_EQ(Rivode({"session", "delete", "Office"}).status, 2);
    EXPECT_EQ(Rivode({"folder", "delete", "Office/B"}).status, 2);
    EXPECT_EQ(Rivode({"sessions", "Nowhere"}).status, 1);
    EXPECT_EQ(Listing("Office"), (std::vector<std::string>{"B"}));
}

// Only the values named reach the sessions. The stored default session also holds "Line Send
// Delay" as the global value was when it was first stored; a later global change must not reach a
// session's own value.
TEST_F(RivodeSessionTreeTest, DefaultApplyGivesOnlyTheNamedValuesAndCountsReadOnlySessions) {
    Succeed({"session", "set", "Work/A", "Cols", "132"});
    Succeed({"session", "set", "Work/A", "Line Send Delay", "9"});
    Succeed({"session", "set", "Work/B", "Rows", "30"});
    Succeed({"session", "set", "Default", "Rows", "50"});
    Succeed({"global", "set", "Line Send Delay", "5"});
    std::filesystem::permissions(ConfigFile("Sessions/Work/B.ini"),
                                 std::filesystem::perms::owner_read);

    const RivodeRun run = Rivode({"default", "apply", "Rows"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "updated 2 of 3 sessions; 1 read-only\n");
    EXPECT_EQ(run.err,
              "rivode: Of your 3 sessions, 1 could not be updated because they are currently "
              "read-only.\n");
    EXPECT_EQ(Get("Work/A", "Rows"), "50");
    EXPECT_EQ(Get("Work/A", "Cols"), "132");
    EXPECT_EQ(Get("Work/A", "Line Send Delay"), "9");
    EXPECT_EQ(Get("Work/C", "Rows"), "50");
    EXPECT_EQ(Get("Work/B", "Rows"), "30");

    std::filesystem::permissions(ConfigFile("Sessions/Work/B.ini"),
                                 std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    const json counts = json::parse(Rivode({"default", "apply", "Rows", "--json"}).out);
    EXPECT_EQ(counts, (json{{"updated", 3},
                            {"seen", 3},
                            {"readOnly", 0},
                            {"noSpace", 0},
                            {"permission", 0},
                            {"other", 0},
                            {"unknownProtocol", 0},
                            {"failures", json::array()}}));
    EXPECT_EQ(Get("Work/B", "Rows"), "50");

    // Sessions that hold the value already are up to date as they stand, not rewritten.
    const auto written = std::filesystem::last_write_time(ConfigFile("Sessions/Work/B.ini"));
    EXPECT_EQ(Rivode({"default", "apply", "Rows"}).out, "updated 3 of 3 sessions\n");
    EXPECT_EQ(std::filesystem::last_write_time(ConfigFile("Sessions/Work/B.ini")), written);
}

TEST_F(RivodeSessionTreeTest, DefaultSetChangesTheTemplateAndWithApplyToAllEverySession) {
    Succeed({"session", "set", "Work/A", "Rows", "30"});
    Succeed({"default", "set", "Rows", "40"});
    EXPECT_EQ(Get("Default", "Rows"), "40");
    EXPECT_EQ(Get("Work/A", "Rows"), "30");

    RivodeRun run = Rivode({"default", "set", "Scrollback", "900", "--apply-to-all"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "updated 3 of 3 sessions\n");
    EXPECT_EQ(Get("Work/A", "Scrollback"), "900");
    EXPECT_EQ(Get("Work/A", "Rows"), "30");  // changed in the template earlier, not now

    // The template already holds 40; asked for every session, each takes it.
    run = Rivode({"default", "set", "Rows", "40", "--apply-to-all"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Get("Work/A", "Rows"), "40");
    EXPECT_EQ(Get("Work/A", "Scrollback"), "900");
}

TEST_F(RivodeSessionTreeTest, DefaultCommandsRefuseBadInputAndWriteNothing) {
    // Making sessions from the default session does not store it; changing it does.
    Succeed({"default", "set", "Rows", "30"});
    const std::string files[] = {ConfigFile("Sessions/Default.ini"),
                                 ConfigFile("Sessions/Work/A.ini")};
    std::vector<std::string> before;
    for (const std::string& file : files) {
        before.push_back(ReadFileBytes(file));
    }
    const struct {
        std::vector<std::string> arguments;
        std::string says;
    } cases[] = {
        {{"default", "apply"}, "rivode default apply NAME... gives every session"},
        {{"default", "apply", "Rows", "Nope"}, "the session has no value \"Nope\""},
        {{"default", "apply", "Protocol Name"}, "each session keeps its own protocol"},
        {{"default", "set", "Rows", "many"}, "cannot set \"Rows\""},
        {{"default", "set", "Nope", "1", "--apply-to-all"}, "the session has no value \"Nope\""},
        {{"default", "set", "Transfer Protocol Name", "FTP", "--apply-to-all"},
         "each session keeps its own protocol"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        const RivodeRun run = Rivode(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(ReadFileBytes(files[i]), before[i]) << files[i];
    }
}

// A session keeps its protocol: one whose module is not loaded (a protocol no module offers, a
// module a policy refused, a product that loads no terminal modules) is left alone and counted.
TEST_F(RivodeSessionTreeTest, ApplyToAllLeavesSessionsOfUnloadedProtocolsAlone) {
    Succeed({"session", "new", "Work/T", "--protocol", "telnet"});
    Succeed({"set", "Sessions/Work/A", "Protocol Name", "--string", "Kermit"});
    const std::string kermit = ReadFileBytes(ConfigFile("Sessions/Work/A.ini"));

    RivodeRun run = Rivode({"default", "set", "Rows", "50", "--apply-to-all"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "updated 3 of 4 sessions; 1 protocol module not loaded\n");
    EXPECT_EQ(run.err,
              "rivode: Of your 4 sessions, 1 were not updated because they use a protocol whose "
              "module is not loaded.\n");
    EXPECT_EQ(ReadFileBytes(ConfigFile("Sessions/Work/A.ini")), kermit);
    EXPECT_EQ(Get("Work/T", "Rows"), "50");
    EXPECT_EQ(Get("Work/T", "Protocol Name"), "Telnet");

    // Acting for the file-transfer product alone, no terminal protocol is loaded.
    const std::string telnet = ReadFileBytes(ConfigFile("Sessions/Work/T.ini"));
    run = Rivode({"--product", "6", "default", "apply", "Rows"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "updated 0 of 4 sessions; 4 protocol module not loaded\n");
    EXPECT_EQ(ReadFileBytes(ConfigFile("Sessions/Work/T.ini")), telnet);
}

// The library's trace lines reach standard error when the user asks for them.
TEST_F(RivodeSessionTreeTest, TraceLinesAppearWithTheOptionOrTheEnvironmentVariable) {
    Succeed({"set", "Sessions/Work/A", "Protocol Name", "--string", "Kermit"});
    const std::string line = "rivode: trace: Unknown protocol \"Kermit\" using default protocol.\n";
    const std::vector<std::string> get = {"--config", config_, "session", "get", "Work/A", "Rows"};
    std::vector<std::string> traced = get;
    traced.push_back("--trace");
    EXPECT_EQ(runner_.Run(get, {"LANG=C"}).err, "");
    EXPECT_EQ(runner_.Run(traced, {"LANG=C"}).err, line);
    EXPECT_EQ(runner_.Run(get, {"LANG=C", "RIVODE_TRACE=1"}).err, line);
}

}  // namespace
}  // namespace rivode::test
