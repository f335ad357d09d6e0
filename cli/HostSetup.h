// What the library needs from its host before any command runs.
#pragma once

#include "ConfigFolder.h"

#include <string_view>

namespace rivode::cli {

// The application name of rivode: its registry key and the name its messages use.
inline constexpr std::u16string_view kRivodeAppName = u"rivode";

// Prepares the library as every host does (PrepareHost) for the product rivode acts for, as a
// host without a user interface that shares the passphrase; then registers rivode's own message
// table and chooses the console for message boxes and progress.
void PrepareConsoleHost(const StoreFolders& folders, int product);

}  // namespace rivode::cli
