// What the library needs from its host before any command runs.
#pragma once

#include "cli/ConfigFolder.h"

#include <string_view>

namespace rivode::cli {

// The application name of rivode: its registry key and the name its messages use.
inline constexpr std::u16string_view kRivodeAppName = u"rivode";

// Initialises the library for the product rivode acts for (a host without a user interface that
// shares the passphrase), makes the folders the store every library call opens by default,
// names the application in the companion library, chooses the console for message boxes and
// progress, records the configuration folder the process works on (the "${YWS_CONFIG_PATH}" of
// stored paths) and registers rivode's own message table.
void PrepareConsoleHost(const StoreFolders& folders, int product);

}  // namespace rivode::cli
