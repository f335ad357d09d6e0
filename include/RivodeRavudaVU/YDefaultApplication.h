// Making a product the user's default handler of its kinds of links (telnet://, ssh://,
// rlogin://), as the Global Options page offers it.
//
// Registration follows the desktop conventions and touches only the user's own folders:
//   $XDG_DATA_HOME/applications/<id>.desktop  the program's desktop entry, naming the link
//                                             kinds it opens ("x-scheme-handler/<scheme>")
//   $XDG_CONFIG_HOME/mimeapps.list            the entry becomes the default handler of each
//                                             kind in "[Default Applications]"; every other
//                                             line of the file is kept as it was
// where <id> is the application name in lower case with blanks and other punctuation turned
// into '-' ("quillterm"). Call from the host's user-interface thread.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <string>

#pragma GCC visibility push(default)

class YDefaultApplication {
public:
    YUnicodeString applicationName;  // "Quillterm"
    YUnicodeString executablePath;   // started with the link as its one argument
    YUnicodeString description;      // one line
    YStringArray urlSchemes;         // "telnet", "ssh", "rlogin"

    // The desktop entry's file name without its folder ("quillterm.desktop").
    std::string GetDesktopId() const;

    // Writes the desktop entry and makes it the default handler of every scheme. false with the
    // reason (the file and the system's error) when a file cannot be written; a list that was
    // there is then unchanged.
    [[nodiscard]] bool Register(YReportMessageParams& report) const;
    // Whether the user's list names this application as the default handler of every scheme.
    bool IsDefault() const;
};

// The link kinds the terminal product opens.
YStringArray GetTerminalUrlSchemes();

// false unless Quillterm is installed; otherwise settings become the registration of Quillterm:
// its name, its executable, its one-line description (0x6138012E) and its link kinds.
bool GetQuilltermDefaultApplicationSettings(YDefaultApplication& settings);

#pragma GCC visibility pop
