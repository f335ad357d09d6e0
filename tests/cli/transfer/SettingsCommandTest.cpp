// rivode export and import end to end: the three files, the log on stdout, the exit status, and
// the passphrase question answered by options when nobody is at a terminal.
#include "environment/PassphraseArea.h"
#include "platform/SharedMemory.h"
#include "tests/cli/RivodeRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace rivode::test {
namespace {

class SettingsCommandTest : public RivodeCommandFixture {
protected:
    SettingsCommandTest() { RemoveBlock(); }
    ~SettingsCommandTest() override { RemoveBlock(); }
    // The shared block outlives rivode's processes and names no configuration folder: each
    // configuration of a test starts without one.
    static void RemoveBlock() {
        platform::RemoveSharedMemory(ToUtf8(GetPassphraseAreaNames(3, false).mapName));
    }
    RivodeRun In(const std::string& config, std::vector<std::string> arguments,
                 const std::string& input = {}) {
        arguments.insert(arguments.begin(), {"--config", config});
        return runner_.Run(arguments, {}, {}, input);
    }
    // A configuration with two sessions, one holding a password under passphrase.
    void MakeConfiguration(const std::string& config, const std::string& passphrase) {
        std::filesystem::create_directories(config);
        ASSERT_EQ(In(config, {"passphrase", "create"}, passphrase + "\n").status, 0);
        RemoveBlock();
        ASSERT_EQ(In(config, {"set", "Sessions\\One", "Is Session", "--dword", "1"}).status, 0);
        ASSERT_EQ(In(config, {"set", "Sessions\\Two", "Is Session", "--dword", "1"}).status, 0);
        const RivodeRun secret =
            In(config, {"encrypt", "--passphrase-stdin"}, passphrase + "\nsecret\n");
        ASSERT_EQ(secret.status, 0) << secret.err;
        RemoveBlock();
        std::string cipher = secret.out.substr(0, secret.out.find('\n'));
        ASSERT_EQ(In(config, {"set", "Sessions\\Two", "Password V2", "--string", cipher}).status,
                  0);
    }

    std::string a_ = folder_ / "A";
    std::string b_ = folder_ / "B";
    std::string file_ = folder_ / "settings";
};

TEST_F(SettingsCommandTest, ExportWritesTheThreeFilesAndPrintsTheLogAsItGoes) {
    MakeConfiguration(a_, "alpha");
    const RivodeRun first = In(a_, {"export", file_ + ".xml", "--sessions"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(first.out.starts_with("info: ")) << first.out;
    EXPECT_NE(first.out.find("\ninfo: "), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(file_ + ".xml"));
    EXPECT_TRUE(std::filesystem::exists(file_ + ".log"));
    EXPECT_FALSE(std::filesystem::exists(file_ + ".bak"));
    RemoveBlock();
    ASSERT_EQ(In(a_, {"export", file_}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(file_ + ".bak"));
}

TEST_F(SettingsCommandTest, MismatchWithoutTerminalNeedsAnAnswerAndImportsNothing) {
    MakeConfiguration(a_, "alpha");
    ASSERT_EQ(In(a_, {"export", file_}).status, 0);
    RemoveBlock();
    MakeConfiguration(b_, "beta");
    ASSERT_EQ(In(b_, {"delete-key", "Sessions"}).status, 0);

    const RivodeRun unanswered = In(b_, {"import", file_, "--passphrase-stdin"}, "beta\n");
    EXPECT_EQ(unanswered.status, 2) << unanswered.err;
    RemoveBlock();
    EXPECT_EQ(In(b_, {"sessions"}).out, "");

    const RivodeRun answered =
        In(b_, {"import", file_, "--passphrase-stdin", "--import-secrets-passphrase-stdin"},
           "beta\nalpha\n");
    ASSERT_EQ(answered.status, 0) << answered.err;
    RemoveBlock();
    const RivodeRun stored = In(b_, {"get", "Sessions\\Two", "Password V2"});
    const RivodeRun plain = In(b_, {"decrypt", "--passphrase-stdin"}, "beta\n" + stored.out);
    EXPECT_EQ(plain.out, "secret\n") << plain.err;
}

TEST_F(SettingsCommandTest, MissingSettingsFileFailsWithTheLibrarysMessage) {
    std::filesystem::create_directories(b_);
    const RivodeRun run = In(b_, {"import", file_, "--skip-secrets"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("settings.xml"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("err: "), std::string::npos) << run.out;
}

}  // namespace
}  // namespace rivode::test
