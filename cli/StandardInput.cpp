#include "cli/StandardInput.h"

#include "platform/ConsoleInput.h"
#include "platform/TerminalStreams.h"
#include "storage/ciphers/SecretText.h"

#include <iostream>
#include <string>

namespace rivode::cli {

bool ReadInputText(const char* prompt, const char* what, bool secret, YUnicodeString& text,
                   CommandFailure& failure) {
    if (platform::IsStandardInputTerminal()) {
        std::cerr << prompt << std::flush;
    }
    // The line stays in memory that is wiped when it goes; only the text handed back remains.
    platform::SecureChars line;
    switch (platform::ReadStandardInputLine(line, secret)) {
    case platform::InputLineResult::Read:
        break;
    case platform::InputLineResult::Ended:
        failure = UsageFailure(std::string("standard input ended before the ") + what);
        return false;
    case platform::InputLineResult::TooLong:
        failure = UsageFailure(std::string("the ") + what + " is longer than " +
                               std::to_string(platform::kMaxInputLineLength) + " bytes");
        return false;
    case platform::InputLineResult::Failed:
        failure = StoreFailure(std::string("standard input could not be read for the ") + what);
        return false;
    }
    if (!FromUtf8Strict(platform::AsText(line), text)) {
        rivode::storage::WipeText(text);  // may hold the part before the bad byte
        failure = UsageFailure(std::string("the ") + what + " is not valid UTF-8");
        return false;
    }
    return true;
}

}  // namespace rivode::cli
