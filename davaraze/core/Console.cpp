#include <DavaraZE/YConsole.h>

#include "platform/ConsoleInput.h"
#include "platform/ConsoleTerminal.h"
#include "platform/TerminalStreams.h"

static_assert(kYConsoleMaxLineBytes == rivode::platform::kMaxInputLineLength);

bool YIsStandardInputTerminal() {
    return rivode::platform::IsStandardInputTerminal();
}

bool YIsStandardErrorTerminal() {
    return rivode::platform::IsStandardErrorTerminal();
}

bool YHasConsoleTerminal() {
    return rivode::platform::HasConsoleTerminal();
}

YConsoleLineResult YReadStandardInputLine(bool hidden, YSecretText& line) {
    namespace platform = rivode::platform;
    line.Wipe();
    platform::SecureChars bytes;
    switch (platform::ReadStandardInputLine(bytes, hidden)) {
        case platform::InputLineResult::Read:
            break;
        case platform::InputLineResult::Ended:
            return YConsoleLineResult::Ended;
        case platform::InputLineResult::TooLong:
            return YConsoleLineResult::TooLong;
        case platform::InputLineResult::Failed:
            return YConsoleLineResult::Failed;
    }
    if (!rivode::FromUtf8Strict(platform::AsText(bytes), line.Text())) {
        line.Wipe();  // may hold the part before the bad byte
        return YConsoleLineResult::NotText;
    }
    return YConsoleLineResult::Read;
}
