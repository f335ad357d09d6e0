// rivode-gui's session and default commands: the Session Options dialog on a stored session or
// on the default session, saved through the session database on OK; with --map-key, Map Selected
// Key for one combination of the session's own key map instead.
#pragma once

#include "GuiOptions.h"

#include <string>

namespace rivode::ui {

// Runs the command of options (Session or Default) and returns the exit status: 0 when the
// dialog ended (saved on OK, nothing on Cancel), 1 when the session cannot be read or saved,
// 2 for a page name no page has or a combination no key has. problem says why (English, for the
// terminal).
int RunSessionOptions(const GuiOptions& options, std::string& problem);

}  // namespace rivode::ui
