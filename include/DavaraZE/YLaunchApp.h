// Starting another program (a sibling product, a program a key is mapped to).
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string_view>

#pragma GCC visibility push(default)

class IReportMessageParams;

// Starts executable with parameters, one command-line text split by YSplitCommandLine, and does
// not wait for it. An executable without a '/' is looked up in the folders of $PATH. showCommand
// is the window-show request of the caller (1: normal); programs here open their own windows,
// so it is accepted and not used. True once the program is running; false when it is missing
// or cannot be executed.
bool LaunchApp(const YUnicodeString& executable, const YUnicodeString& parameters, int showCommand);
// The same, filling report with the reason of a failure.
[[nodiscard]] bool LaunchApp(const YUnicodeString& executable, const YUnicodeString& parameters,
                             int showCommand, IReportMessageParams& report);

// Splits a command line into arguments without a shell: blanks and tabs separate arguments;
// double quotes group text with blanks into one argument and are removed ("" is an empty
// argument); a backslash is literal except before a double quote: 2n backslashes and a quote
// give n backslashes and a grouping quote, 2n+1 backslashes and a quote give n backslashes and a
// literal quote. So "/F \"L3RtcA==\"" gives /F and L3RtcA==.
YStringArray YSplitCommandLine(std::u16string_view commandLine);

#pragma GCC visibility pop
