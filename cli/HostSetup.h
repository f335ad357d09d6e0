// What the library needs from its host before any command runs.
#pragma once

#include "cli/ConfigFolder.h"

namespace rivode::cli {

// Tells the library which product rivode acts for (a host without a user interface), names the
// application in the companion library, chooses the console for message boxes and progress,
// records the configuration folder the process works on (the "${YWS_CONFIG_PATH}" of stored
// paths), registers rivode's own message table and finds the sibling products installed beside
// the library.
void PrepareConsoleHost(const StoreFolders& folders, int product);

}  // namespace rivode::cli
