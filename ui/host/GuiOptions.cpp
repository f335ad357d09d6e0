#include "GuiOptions.h"

#include <RivodeRavudaVU/HostSetup.h>

namespace rivode::ui {

const char* GuiUsage() {
    return "Usage: rivode-gui [--config DIR] [--screenshot FILE.png] COMMAND\n"
           "\n"
           "Commands:\n"
           "  sessions                  the session tree in the user's order\n"
           "  session PATH [--page NAME] Session Options of the session at PATH "
           "(\"Work\\Server\")\n"
           "  default [--page NAME]     Session Options of the default session; OK asks whether\n"
           "                            the changes go to every session\n"
           "  session PATH --map-key COMBINATION\n"
           "                            Map Selected Key for a key of the session's own key map\n"
           "                            (\"Ctrl-VK_A\", \"Shift-Extended-VK_INSERT\")\n"
           "\n"
           "Options:\n"
           "  --page NAME           the page to open with, by its name or its path of names\n"
           "                        (\"Log File\", \"Terminal\\Emulation\\Advanced\")\n"
           "  --config DIR          the configuration folder (default: the recorded one, as "
           "rivode)\n"
           "  --screenshot FILE.png render the window offscreen into FILE.png and exit\n"
           "  -h, --help            this text\n";
}

bool ParseGuiArguments(const std::vector<std::string>& arguments, GuiOptions& options,
                       std::string& problem) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-h" || argument == "--help") {
            options.command = GuiCommand::Help;
            return true;
        }
        if (argument == "--config" || argument == "--screenshot" || argument == "--page" ||
            argument == "--map-key") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                problem = argument + " needs a value";
                return false;
            }
            const std::string& value = arguments[++i];
            if (argument == "--screenshot") {
                options.screenshot = value;
                continue;
            }
            if (argument == "--page") {
                options.page = FromUtf8(value);
                continue;
            }
            if (argument == "--map-key") {
                options.mapKey = FromUtf8(value);
                continue;
            }
            YReportMessageParams report;
            if (!NormaliseHostFolderArgument(value, options.configFolder, report)) {
                problem = ToUtf8(report.GetSingleLineTextTrimmed());
                return false;
            }
            continue;
        }
        if (options.command == GuiCommand::None) {
            if (argument == "sessions") {
                options.command = GuiCommand::Sessions;
                continue;
            }
            if (argument == "default") {
                options.command = GuiCommand::Default;
                continue;
            }
            if (argument == "session") {
                if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                    problem = "session needs the path of a session";
                    return false;
                }
                options.command = GuiCommand::Session;
                options.sessionPath = FromUtf8(arguments[++i]);
                continue;
            }
        }
        problem = "unexpected argument '" + argument + "' (see rivode-gui --help)";
        return false;
    }
    if (options.command == GuiCommand::None) {
        problem = "a command is needed (see rivode-gui --help)";
        return false;
    }
    if (!options.page.empty() && options.command == GuiCommand::Sessions) {
        problem = "--page goes with session or default";
        return false;
    }
    if (!options.mapKey.empty() &&
        (options.command != GuiCommand::Session || !options.page.empty())) {
        problem = "--map-key goes with session, without --page";
        return false;
    }
    return true;
}

}  // namespace rivode::ui
