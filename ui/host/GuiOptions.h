// rivode-gui's command line:
//   rivode-gui [--config DIR] [--screenshot FILE.png] sessions
//   rivode-gui [--config DIR] [--screenshot FILE.png] session PATH [--page NAME]
//   rivode-gui [--config DIR] [--screenshot FILE.png] default [--page NAME]
//   rivode-gui [--config DIR] [--screenshot FILE.png] session PATH --map-key COMBINATION
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string>
#include <vector>

namespace rivode::ui {

enum class GuiCommand { None, Help, Sessions, Session, Default };

struct GuiOptions {
    GuiCommand command = GuiCommand::None;
    YUnicodeString configFolder;  // empty: the recorded or default folder, as rivode finds it
    std::string screenshot;       // empty: show the window to the user
    YUnicodeString sessionPath;   // session: the session's path below "Sessions"
    YUnicodeString page;          // session, default: the page to open with (name or path)
    YUnicodeString mapKey;        // session: the key combination to map ("Ctrl-VK_A")
};

// Reads the arguments after the program name. false with a problem (in English, for the
// terminal, as rivode's usage errors are) when they are not a valid command line.
[[nodiscard]] bool ParseGuiArguments(const std::vector<std::string>& arguments, GuiOptions& options,
                                     std::string& problem);

// The usage text of --help.
const char* GuiUsage();

}  // namespace rivode::ui
