// rivode encrypt / decrypt: secrets from standard input, the "02:" text out, and the exit status
// of each refusal.
#include "tests/cli/RivodeRunner.h"

#include <gtest/gtest.h>

#include <regex>

namespace rivode::test {
namespace {

// Runs rivode with input as its standard input.
RivodeRun RunWithInput(const std::vector<std::string>& arguments, const std::string& input) {
    RivodeRunner runner;
    return runner.Run(arguments, {}, {}, input);
}

TEST(CipherCommands, EncryptedTextsDecryptAgainUnderTheSamePassphrase) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "abc"},  // no passphrase: none is read from standard input
        {"", ""},
        {"correct horse", "p\xC3\xA4ssw\xC3\xB6rd \xE2\x98\x83"},
        {"pass", "ends in a blank "},
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

        // The text as an argument, or on the line after the passphrase.
        const RivodeRun fromArgument = RunWithInput(command({"decrypt", text}), firstLine);
        EXPECT_EQ(fromArgument.status, 0) << fromArgument.err;
        EXPECT_EQ(fromArgument.out, value + "\n");
        const RivodeRun fromInput =
            RunWithInput(command({"decrypt", "--json"}), firstLine + text + "\n");
        EXPECT_EQ(fromInput.status, 0) << fromInput.err;
        EXPECT_EQ(fromInput.out, "{\n  \"plaintext\": \"" + value + "\"\n}\n");
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
        {{"decrypt", "--passphrase-stdin", textLine}, "wrong\n", 1, "passphrase is not the one"},
        {{"decrypt", textLine}, "", 1, "--passphrase-stdin"},
        {{"decrypt", "02:abc"}, "", 2, "not an encrypted value"},
        {{"decrypt", textLine.substr(0, 3 + 64)}, "", 2, "not an encrypted value"},
        {{"decrypt"}, "", 2, "standard input ended"},
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
