// What the library needs from its host before any command runs.
#pragma once

#include "cli/ConfigFolder.h"

namespace rivode::cli {

// Names the application in the companion library, chooses the console for message boxes and
// progress, records the configuration folder the process works on (the "${YWS_CONFIG_PATH}" of
// stored paths) and registers rivode's own message table.
void PrepareConsoleHost(const StoreFolders& folders);

}  // namespace rivode::cli
