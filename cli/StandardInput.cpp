#include "cli/StandardInput.h"

#include "platform/ConsoleInput.h"
#include "platform/TerminalStreams.h"
#include "storage/SecretText.h"

#include <iostream>
#include <string>

namespace rivode::cli {

bool ReadInputText(const char* prompt, const char* what, bool secret, YUnicodeString& text,
                   CommandFailure& failure) {
    if (platform::IsStandardInputTerminal()) {
        std::cerr << prompt << std::flush;
    }
    std::string line;
    if (!platform::ReadStandardInputLine(line, secret)) {
        failure = UsageFailure(std::string("standard input ended before the ") + what);
        return false;
    }
    const bool valid = FromUtf8Strict(line, text);
    rivode::storage::WipeText(line);
    if (!valid) {
        failure = UsageFailure(std::string("the ") + what + " is not valid UTF-8");
    }
    return valid;
}

}  // namespace rivode::cli
