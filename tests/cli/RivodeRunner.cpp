#include "tests/cli/RivodeRunner.h"

#include <sys/wait.h>
#include <cstdlib>

namespace rivode::test {

namespace {

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

}  // namespace

RivodeRun RivodeRunner::Run(const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment,
                            const std::string& stdoutPath, const std::string& input) {
    const std::string outPath = stdoutPath.empty() ? captures_ / "out" : stdoutPath;
    const std::string errPath = captures_ / "err";
    const std::string inPath = captures_ / "in";
    WriteFileBytes(inPath, input);
    std::string command = "env";
    for (const std::string& setting : environment) {
        command += ' ' + ShellQuoted(setting);
    }
    command += ' ' + ShellQuoted(RIVODE_EXECUTABLE);
    for (const std::string& argument : arguments) {
        command += ' ' + ShellQuoted(argument);
    }
    command +=
        " >" + ShellQuoted(outPath) + " 2>" + ShellQuoted(errPath) + " <" + ShellQuoted(inPath);
    const int result = std::system(command.c_str());
    RivodeRun run;
    run.status = (result != -1 && WIFEXITED(result)) ? WEXITSTATUS(result) : -1;
    if (stdoutPath.empty()) {
        run.out = ReadFileBytes(outPath);
    }
    run.err = ReadFileBytes(errPath);
    return run;
}

}  // namespace rivode::test
