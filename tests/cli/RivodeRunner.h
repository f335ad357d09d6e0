// Runs the built rivode in a child process and captures what it printed.
#pragma once

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rivode::test {

struct RivodeRun {
    int status = -1;  // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

class RivodeRunner {
public:
    // environment: "NAME=value" settings for the child on top of the test's own. The child's
    // standard input holds input (empty by default); its output goes to stdoutPath when given
    // (and is then not captured).
    RivodeRun Run(const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment = {},
                  const std::string& stdoutPath = {}, const std::string& input = {});

private:
    TempFolder captures_;
};

// A test with its own configuration folder (not created until a command creates it).
class RivodeCommandFixture : public ::testing::Test {
protected:
    // Runs rivode on the test's configuration folder.
    RivodeRun Rivode(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--config", config_});
        return runner_.Run(arguments);
    }
    // Runs a command that must succeed silently.
    void Succeed(std::vector<std::string> arguments) {
        const RivodeRun run = Rivode(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        ASSERT_EQ(run.err, "");
    }
    std::string ConfigFile(const std::string& relative) const { return config_ + "/" + relative; }

    TempFolder folder_;
    std::string config_ = folder_ / "Config";
    RivodeRunner runner_;
};

}  // namespace rivode::test
