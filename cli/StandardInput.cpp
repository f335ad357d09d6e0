#include "StandardInput.h"

#include <DavaraZE/YConsole.h>
#include <RivodeRavudaVU/YSecretText.h>

#include <iostream>
#include <string>

namespace rivode::cli {

bool ReadInputText(const char* prompt, const char* what, bool secret, YUnicodeString& text,
                   CommandFailure& failure) {
    if (YIsStandardInputTerminal()) {
        std::cerr << prompt << std::flush;
    }
    // Wiped when it goes, with whatever moving the text out leaves behind.
    YSecretText line;
    switch (YReadStandardInputLine(secret, line)) {
        case YConsoleLineResult::Read:
            break;
        case YConsoleLineResult::Ended:
            failure = UsageFailure(std::string("standard input ended before the ") + what);
            return false;
        case YConsoleLineResult::TooLong:
            failure = UsageFailure(std::string("the ") + what + " is longer than " +
                                   std::to_string(kYConsoleMaxLineBytes) + " bytes");
            return false;
        case YConsoleLineResult::NotText:
            failure = UsageFailure(std::string("the ") + what + " is not valid UTF-8");
            return false;
        case YConsoleLineResult::Failed:
            failure = StoreFailure(std::string("standard input could not be read for the ") + what);
            return false;
    }
    text = std::move(line.Text());
    return true;
}

}  // namespace rivode::cli
