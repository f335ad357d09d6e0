// How a command ends: the exit status scripts test, and the message a failure prints.
#pragma once

#include <string>

namespace rivode::cli {

enum ExitStatus : int {
    ExitOk = 0,
    ExitFailure = 1,  // the store could not do what was asked, or the value or key is absent
    ExitUsage = 2,    // the command line itself is wrong: nothing was read or changed
};

struct CommandFailure {
    ExitStatus status = ExitFailure;
    std::string message;  // UTF-8, one or more lines without a final line break
};

inline CommandFailure UsageFailure(std::string message) {
    return {ExitUsage, std::move(message)};
}
inline CommandFailure StoreFailure(std::string message) {
    return {ExitFailure, std::move(message)};
}

}  // namespace rivode::cli
