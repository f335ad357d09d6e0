// rivode passphrase and credentials end to end: a console session driven through a
// pseudo-terminal and scripts without a terminal.
#include "environment/PassphraseArea.h"
#include "platform/SharedMemory.h"
#include "tests/cli/RivodeRunner.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

namespace rivode::test {
namespace {

class PassphraseCommandTest : public RivodeCommandFixture {
protected:
    PassphraseCommandTest() { RemoveBlock(); }
    ~PassphraseCommandTest() override { RemoveBlock(); }
    // The shared block outlives rivode's processes; each test starts without one.
    static void RemoveBlock() {
        platform::RemoveSharedMemory(ToUtf8(GetPassphraseAreaNames(3, false).mapName));
    }
    RivodeRun WithInput(std::vector<std::string> arguments, const std::string& input) {
        arguments.insert(arguments.begin(), {"--config", config_});
        return runner_.Run(arguments, {}, {}, input);
    }

    // Runs rivode on a new pseudo-terminal, typing keys as each expected prompt appears
    // (beforeAnswer, when set, runs with the prompt's index first). Returns the exit status and
    // everything the terminal showed.
    std::pair<int, std::string> OnTerminal(
        const std::vector<std::string>& arguments,
        const std::vector<std::pair<std::string, std::string>>& dialogue,
        const std::function<void(std::size_t)>& beforeAnswer = {}) {
        std::vector<std::string> all = {RIVODE_EXECUTABLE, "--config", config_};
        all.insert(all.end(), arguments.begin(), arguments.end());
        int master = -1;
        const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
        if (child == 0) {
            std::vector<char*> argv;
            for (std::string& a : all) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        std::string shown;
        // Every wait is bounded: a rivode that asks for something else must fail the test,
        // not hang it.
        const auto readSome = [&](std::chrono::steady_clock::time_point deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd ready{master, POLLIN, 0};
            if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
                return false;
            }
            char buffer[256];
            const ssize_t got = read(master, buffer, sizeof buffer);
            if (got <= 0) {
                return false;
            }
            shown.append(buffer, static_cast<std::size_t>(got));
            return true;
        };
        // Each prompt is looked for after the previous answer only: the same prompt asked
        // again must really appear again before its keys are typed.
        std::size_t answered = 0;
        for (std::size_t index = 0; index < dialogue.size(); ++index) {
            const auto& [prompt, keys] = dialogue[index];
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (shown.find(prompt, answered) == std::string::npos && readSome(deadline)) {
            }
            const std::size_t found = shown.find(prompt, answered);
            answered = found == std::string::npos ? shown.size() : found + prompt.size();
            shown += "\n<<answer " + std::to_string(index) + ">>\n";
            if (beforeAnswer) {
                beforeAnswer(index);
            }
            EXPECT_EQ(write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
        }
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (readSome(end)) {
        }
        // rivode has closed the terminal by now, or is still waiting for something.
        int status = 0;
        for (int tries = 0; waitpid(child, &status, WNOHANG) == 0; ++tries) {
            if (tries == 100) {
                ADD_FAILURE() << "rivode still waits:\n" << shown;
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        close(master);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, shown};
    }
};

TEST_F(PassphraseCommandTest, AFreshConfigurationWithoutATerminalKeepsWorkingWithoutAPassphrase) {
    RivodeRun run = WithInput({"credentials", "new", "Lab", "--user", "root"}, "s3cret\n");
    ASSERT_EQ(run.status, 0) << run.err;
    run = Rivode({"passphrase", "status", "--json"});
    EXPECT_NE(run.out.find("\"established\": false"), std::string::npos) << run.out;
    // Once a passphrase is established, a script must give it.
    ASSERT_EQ(WithInput({"passphrase", "create"}, "pw\n").status, 0);
    RemoveBlock();
    run = WithInput({"credentials", "set", "Lab", "--user", "admin"}, "s3cret\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("A passphrase is required but prompting is not allowed."),
              std::string::npos)
        << run.err;
    run = WithInput({"credentials", "set", "Lab", "--user", "admin", "--passphrase-stdin"},
                    "pw\nnew secret\n");
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(PassphraseCommandTest, AConsoleSessionTypesMaskedPassphrasesWithBackspace) {
    // Created on the terminal: "abX<Backspace>c" twice gives "abc".
    auto [status, shown] = OnTerminal({"passphrase", "create"}, {{"New configuration passphrase:",
                                                                  "abX\x7f"
                                                                  "c\r"},
                                                                 {"Re-enter", "abc\r"}});
    ASSERT_EQ(status, 0) << shown;
    EXPECT_NE(shown.find("***\b \b*"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("abc"), std::string::npos) << shown;
    RemoveBlock();
    // A command that needs secrets asks on the terminal, again after a wrong passphrase;
    // Ctrl+C ends the question.
    std::tie(status, shown) = OnTerminal({"credentials", "new", "Lab", "--user", "root"},
                                         {{"Configuration passphrase:", "wrong\r"},
                                          {"not correct", ""},
                                          {"Configuration passphrase:", "\x03"}});
    EXPECT_EQ(status, 1) << shown;
    RemoveBlock();
    EXPECT_EQ(WithInput({"passphrase", "change"}, "abc\nxyz\n").status, 0);
}

// passphrase change holds the claim while it asks on its terminal: a script started meanwhile
// waits and then uses the new passphrase without asking (how a starting process waits for a
// claim held elsewhere is PassphraseStartupTest.AClaimHeldElsewhere...'s).
TEST_F(PassphraseCommandTest, ChangeHoldsTheClaimWhileItAsksOnTheTerminal) {
    ASSERT_EQ(WithInput({"passphrase", "create"}, "pw\n").status, 0);
    RemoveBlock();
    RivodeRun second;
    std::thread starting;
    const auto [status, shown] = OnTerminal(
        {"passphrase", "change"},
        {{"Current configuration passphrase:", "pw\r"},
         {"New configuration", "pw2\r"},
         {"Re-enter", "pw2\r"}},
        [&](std::size_t index) {
            if (index == 0) {
                starting = std::thread([&] {
                    second = WithInput({"credentials", "new", "B", "--user", "u"}, "b\n");
                });
                // Long enough for the second to be waiting when the first gets its answers.
                std::this_thread::sleep_for(std::chrono::seconds(2));
            }
        });
    starting.join();
    EXPECT_EQ(status, 0) << shown;
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.err.find("passphrase"), std::string::npos) << second.err;
    const RivodeRun stored = Rivode({"get", "Credentials/B", "Password V2"});
    EXPECT_EQ(runner_.Run({"decrypt", "--passphrase-stdin"}, {}, {}, "pw2\n" + stored.out).out,
              "b\n")
        << stored.out;
}

}  // namespace
}  // namespace rivode::test
