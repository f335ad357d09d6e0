// rivode encrypt / decrypt: secrets from standard input, the "02:" text out, and the exit status
// of each refusal.
#include "platform/ConsoleInput.h"
#include "tests/cli/RivodeRunner.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <regex>
#include <thread>

namespace rivode::test {
namespace {

// Whether a process of the user may read the memory of another is what tells a process that the
// system will not dump. Only accounts without administrator rights see the difference, so the
// check runs under an unprivileged account when the tests run as an administrator.
constexpr uid_t kUnprivileged = 65534;

bool SwitchToUnprivileged() {
    return ::geteuid() != 0 || (::setgid(kUnprivileged) == 0 && ::setuid(kUnprivileged) == 0);
}

// A process started with a pipe as its standard input, so it waits there until the pipe closes.
class WaitingProcess {
public:
    WaitingProcess(std::vector<std::string> arguments, const std::string& home) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "no pipe";
            return;
        }
        input_ = ends[1];
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(ends[0], STDIN_FILENO);
            for (const char* name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "YARROWBY_REGISTRY"}) {
                ::setenv(name, home.c_str(), 1);
            }
            if (SwitchToUnprivileged()) {
                ::execv(argv[0], argv.data());
            }
            ::_exit(127);
        }
        ::close(ends[0]);
        program_ = arguments[0];
    }
    ~WaitingProcess() {
        ::close(input_);
        int status = 0;
        if (pid_ > 0) {
            ::waitpid(pid_, &status, 0);
        }
    }
    WaitingProcess(const WaitingProcess&) = delete;
    WaitingProcess& operator=(const WaitingProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // Waits until the process runs its program (no longer the test's forked copy), and says
    // whether it did within a few seconds.
    bool WaitForProgram() const {
        for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
             std::chrono::steady_clock::now() < deadline;
             std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
            const std::string cmdline = ReadFileBytes("/proc/" + std::to_string(pid_) + "/cmdline");
            if (cmdline.c_str() == program_) {
                return true;
            }
        }
        return false;
    }
    // Still waiting for its input: it has not ended.
    bool IsWaiting() const {
        int status = 0;
        return pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == 0;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    std::string program_;
};

// Whether another process of the same account may read the memory of pid (its environment
// stands for it).
bool OthersMayReadMemoryOf(pid_t pid) {
    const pid_t child = ::fork();
    if (child == 0) {
        const std::string path = "/proc/" + std::to_string(pid) + "/environ";
        ::_exit(SwitchToUnprivileged() && ::open(path.c_str(), O_RDONLY | O_CLOEXEC) >= 0 ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST(RivodeProcess, NeitherDumpsNorLetsOtherProcessesReadItsMemory) {
    TempFolder home;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(home.Path().c_str(), kUnprivileged, kUnprivileged), 0);
    }
    // The same check on an ordinary process shows that it can tell the difference.
    const WaitingProcess ordinary({"/bin/cat"}, home.Path());
    ASSERT_TRUE(ordinary.WaitForProgram());
    EXPECT_TRUE(OthersMayReadMemoryOf(ordinary.Pid()));

    const WaitingProcess rivode({RIVODE_EXECUTABLE, "decrypt"}, home.Path());
    ASSERT_TRUE(rivode.WaitForProgram());
    // rivode turns dumps off as it starts, then waits for its input until the pipe closes.
    bool readable = true;
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         readable && std::chrono::steady_clock::now() < deadline;
         std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        readable = OthersMayReadMemoryOf(rivode.Pid());
    }
    EXPECT_FALSE(readable);
    EXPECT_TRUE(rivode.IsWaiting());  // an ended process would be unreadable too
}

// Runs rivode with input as its standard input.
RivodeRun RunWithInput(const std::vector<std::string>& arguments, const std::string& input) {
    RivodeRunner runner;
    return runner.Run(arguments, {}, {}, input);
}

TEST(CipherCommands, EncryptedTextsDecryptAgainUnderTheSamePassphrase) {
    const std::pair<std::string, std::string> cases[] = {
        // The cipher's round trips are EncryptedTextTest's; here what standard input carries.
        {"", ""},  // no passphrase: none is read from standard input
        {"correct horse", "p\xC3\xA4ssw\xC3\xB6rd ends in a blank "},
    };
    for (const auto& [passphrase, value] : cases) {
        SCOPED_TRACE(passphrase + " / " + value);
        const std::string firstLine = passphrase.empty() ? "" : passphrase + "\n";
        const auto command = [&](std::vector<std::string> arguments) {
            if (!passphrase.empty()) {
                arguments.push_back("--passphrase-stdin");
            }
            return arguments;
        };
        const RivodeRun encrypted = RunWithInput(command({"encrypt"}), firstLine + value + "\n");
        ASSERT_EQ(encrypted.status, 0) << encrypted.err;
        std::smatch match;
        ASSERT_TRUE(std::regex_match(encrypted.out, match, std::regex("(02:(?:[0-9a-f]{32})+)\n")))
            << encrypted.out;
        const std::string text = match[1];

        // The text on the line after the passphrase; the last line needs no line break.
        const RivodeRun plain = RunWithInput(command({"decrypt"}), firstLine + text);
        EXPECT_EQ(plain.status, 0) << plain.err;
        EXPECT_EQ(plain.out, value + "\n");
        const RivodeRun json =
            RunWithInput(command({"decrypt", "--json"}), firstLine + text + "\r\n");
        EXPECT_EQ(json.status, 0) << json.err;
        EXPECT_EQ(json.out, "{\n  \"plaintext\": \"" + value + "\"\n}\n");
    }
}

TEST(CipherCommands, EachRefusalHasItsExitStatusAndMessage) {
    const std::string text = RunWithInput({"encrypt", "--passphrase-stdin"}, "pass\nval\n").out;
    ASSERT_EQ(text.size(), 3u + 96u + 1u);
    const std::string textLine = text.substr(0, text.size() - 1);
    struct Case {
        std::vector<std::string> arguments;
        std::string input;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"decrypt", "--passphrase-stdin"}, "wrong\n" + text, 1, "passphrase is not the one"},
        {{"decrypt"}, text, 1, "--passphrase-stdin"},
        {{"decrypt"}, "02:abc\n", 2, "not an encrypted value"},
        {{"decrypt"}, "", 2, "standard input ended before the encrypted text"},
        {{"decrypt", "--passphrase-stdin"}, "pass\n", 2, "ended before the encrypted text"},
        // A text on the command line is refused, even a right one: others can read it there.
        {{"decrypt", textLine}, text, 2, ""},
        {{"decrypt"}, std::string(platform::kMaxInputLineLength + 1, '0'), 2, "is longer than"},
        {{"encrypt"}, "", 2, "standard input ended before the value"},
        {{"encrypt", "--passphrase-stdin"}, "only the passphrase\n", 2, "value to encrypt"},
        {{"encrypt"}, "\xFF\xFE\n", 2, "not valid UTF-8"},
        {{"encrypt", "value-on-the-command-line"}, "", 2, ""},
    };
    for (const Case& c : cases) {
        const RivodeRun run = RunWithInput(c.arguments, c.input);
        SCOPED_TRACE(c.arguments.back() + ": " + run.err);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.message), std::string::npos);
    }
}

}  // namespace
}  // namespace rivode::test
