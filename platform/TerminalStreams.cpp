#include "platform/TerminalStreams.h"

#include <unistd.h>

namespace rivode::platform {

bool IsStandardInputTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

bool IsStandardErrorTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace rivode::platform
