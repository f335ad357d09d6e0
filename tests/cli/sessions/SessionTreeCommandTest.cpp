// rivode sessions, session new|rename|move|delete, folder ... and default apply: the session tree.
#include "tests/cli/sessions/SessionCommandFixture.h"

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

namespace rivode::test {
namespace {

// While it lives, no file that this process or a child it starts writes may grow beyond limit
// bytes: such a write fails with EFBIG, a failure the store has no special name for.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
        // Ignored, the signal stays ignored in the child, whose write then fails instead.
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = SIG_DFL;
};

class RivodeSessionTreeTest : public RivodeSessionFixture {
protected:
    void SetUp() override {
        for (const char* arguments :
             {"folder new Work", "folder new Home", "session new Work/C", "session new Work/A",
              "session new Work/B"}) {
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
        {{"session", "new", "Work/com1.txt"},
         "'com1.txt' is a reserved device name and cannot be used as a session name."},
        {{"session", "new", "Work/a|b"}, "The session name contains an illegal character: ' | '."},
        {{"session", "new", "Work/b"}, "The session name 'b' already exists."},
        {{"session", "new", "Work/..."}, "'...' cannot be used as a name."},
        {{"session", "rename", "Work/A", "c"}, "The session name 'c' already exists."},
        {{"session", "rename", "Work/A", "x?"},
         "The session name contains an illegal character: ' ? '."},
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
    EXPECT_EQ(Listing("", true), (std::vector<std::string>{"Work\\", "  C", "  A", "  B",
                                                           "Home\\", "Default"}));
}

TEST_F(RivodeSessionTreeTest, RenameMoveAndDeleteKeepTheUsersOrder) {
    Succeed({"session", "rename", "Work/A", "Zed"});
    EXPECT_EQ(Listing("Work"), (std::vector<std::string>{"C", "Zed", "B"}));
    Succeed({"session", "rename", "Work/zed", "ZED"});  // letter case only
    EXPECT_EQ(Listing("Work"), (std::vector<std::string>{"C", "ZED", "B"}));
    Succeed({"session", "move", "Work/ZED", "Home"});
    Succeed({"session", "move", "Work/C", "/"});
    Succeed({"folder", "rename", "Work", "Office"});
    EXPECT_EQ(Listing("", true), (std::vector<std::string>{"Office\\", "  B", "Home\\", "  ZED",
                                                           "Default", "C"}));
    Succeed({"session", "delete", "C"});
    Succeed({"folder", "delete", "Home"});
    EXPECT_EQ(Listing("", true), (std::vector<std::string>{"Office\\", "  B", "Default"}));
    // Each command keeps to its own kind of item.
    EXPECT_EQ(Rivode({"session", "delete", "Office"}).status, 2);
    EXPECT_EQ(Rivode({"folder", "delete", "Office/B"}).status, 2);
    EXPECT_EQ(Rivode({"sessions", "Nowhere"}).status, 1);
    EXPECT_EQ(Listing("Office"), (std::vector<std::string>{"B"}));
}

TEST_F(RivodeSessionTreeTest, DefaultApplyTakesOnlyChangedValuesAndCountsReadOnlySessions) {
    Succeed({"session", "set", "Work/A", "Cols", "132"});
    Succeed({"session", "set", "Work/B", "Rows", "30"});
    Succeed({"session", "set", "Default", "Rows", "50"});
    std::filesystem::permissions(ConfigFile("Sessions/Work/B.ini"),
                                 std::filesystem::perms::owner_read);

    const RivodeRun run = Rivode({"default", "apply"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "updated 2 of 3 sessions; 1 read-only\n");
    EXPECT_EQ(run.err,
              "rivode: Of your 3 sessions, 1 could not be updated because they are currently "
              "read-only.\n");
    EXPECT_EQ(Get("Work/A", "Rows"), "50");
    EXPECT_EQ(Get("Work/A", "Cols"), "132");  // not changed in the default session
    EXPECT_EQ(Get("Work/C", "Rows"), "50");
    EXPECT_EQ(Get("Work/B", "Rows"), "30");

    std::filesystem::permissions(ConfigFile("Sessions/Work/B.ini"),
                                 std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    const json counts = json::parse(Rivode({"default", "apply", "--json"}).out);
    EXPECT_EQ(counts, (json{{"updated", 3},
                            {"seen", 3},
                            {"readOnly", 0},
                            {"noSpace", 0},
                            {"permission", 0},
                            {"other", 0},
                            {"failures", json::array()}}));
    EXPECT_EQ(Get("Work/B", "Rows"), "50");
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

TEST_F(RivodeSessionTreeTest, DefaultApplySaysWhyEachSessionFailedAndCountsEachCause) {
    Succeed({"session", "set", "Default", "Rows", "50"});
    std::filesystem::permissions(ConfigFile("Sessions/Work/B.ini"),
                                 std::filesystem::perms::owner_read);
    // Session files are several kilobytes: every save of A and C fails.
    RivodeRun run;
    RivodeRun jsonRun;
    {
        const FileSizeLimit limit(2048);
        run = Rivode({"default", "apply"});
        jsonRun = Rivode({"default", "apply", "--json"});
    }
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "updated 0 of 3 sessions; 1 read-only, 2 other\n");
    for (const char* name : {"C", "A"}) {
        SCOPED_TRACE(name);
        const std::string failure = std::string("rivode: The session 'Work\\") + name +
                                    "' could not be saved: '" +
                                    ConfigFile("Sessions/Work/") + name + ".ini";
        EXPECT_NE(run.err.find(failure), std::string::npos) << run.err;
    }
    EXPECT_NE(run.err.find("': File too large\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("rivode: Of your 3 sessions, 1 could not be updated because they are "
                           "currently read-only.\nrivode: Of your 3 sessions, 2 could not be "
                           "updated because of other errors.\n"),
              std::string::npos)
        << run.err;

    EXPECT_EQ(jsonRun.status, 1);
    const json counts = json::parse(jsonRun.out);
    EXPECT_EQ(counts.at("updated"), 0);
    EXPECT_EQ(counts.at("readOnly"), 1);
    EXPECT_EQ(counts.at("other"), 2);
    EXPECT_EQ(counts.at("noSpace"), 0);
    EXPECT_EQ(counts.at("permission"), 0);
    ASSERT_EQ(counts.at("failures").size(), 2u);
    for (const json& failure : counts.at("failures")) {
        const std::string session = failure.at("session");
        EXPECT_TRUE(session == "Work\\A" || session == "Work\\C") << session;
        EXPECT_NE(failure.at("message").get<std::string>().find("File too large"),
                  std::string::npos);
    }
    EXPECT_EQ(Get("Work/A", "Rows"), "24");
}

}  // namespace
}  // namespace rivode::test
