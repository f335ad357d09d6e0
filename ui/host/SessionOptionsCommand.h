// rivode-gui's session and default commands: the Session Options dialog on a stored session or
// on the default session, saved through the session database on OK; with --map-key, Map Selected
// Key for one combination of the session's own key map instead.
#pragma once

#include "GuiOptions.h"

#include <RivodeRavudaVU/ISessionConfig.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <string>

class GlobalConfig;
class QWidget;

namespace rivode::ui {

// Runs the command of options (Session or Default) and returns the exit status: 0 when the
// dialog ended (saved on OK, nothing on Cancel), 1 when the session cannot be read or saved,
// 2 for a page name no page has or a combination no key has. problem says why (English, for the
// terminal).
int RunSessionOptions(const GuiOptions& options, std::string& problem);

// Loads the protocol modules every session's pages follow; once per process, before the first
// session is opened. false with the reason in problem (English, for the terminal).
[[nodiscard]] bool LoadProtocolModules(std::string& problem);

// Session Options on a stored session, over parent; OK saves it through the session database
// (a name changed on the Connection page renames the stored session first). savedPath: the
// session's path after a save, empty when the user cancelled. false when the save failed: the
// failure has been shown over parent and is in report.
[[nodiscard]] bool EditStoredSession(GlobalConfig* global, ISessionConfig& session, QWidget* parent,
                                     YUnicodeString& savedPath, YReportMessageParams& report);

}  // namespace rivode::ui
