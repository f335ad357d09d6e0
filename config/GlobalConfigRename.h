// Moving Global.ini aside, with the moment of the move given by the caller (RenameGlobalConfig
// gives the current local time).
#pragma once

#include "platform/LocalTime.h"

#include <string>

namespace rivode::config {

// "Global-incomplete-" + year, day, month, "_", hours, minutes, seconds + ".ini".
std::string GlobalIncompleteFileName(const rivode::platform::LocalDateTime& time);

// RenameGlobalConfig at time: the configuration folder's Global.ini (found without regard to
// case, as the store finds it) is moved to GlobalIncompleteFileName(time) in the same folder.
[[nodiscard]] bool RenameGlobalConfigAt(const rivode::platform::LocalDateTime& time);

}  // namespace rivode::config
