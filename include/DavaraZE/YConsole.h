// The console side of a host that runs in a terminal: whether a person is at the standard
// streams, and reading an answer (a passphrase, a secret value) from standard input.
//
// Questions asked key by key with a prompt on the terminal are ReadConsoleLine
// (RivodeRavudaVU/ConfigPassphraseStartup.h); message boxes and progress go through the console
// back end of YUserInterface.h.
#pragma once

#include <RivodeRavudaVU/YSecretText.h>

#include <cstddef>

#pragma GCC visibility push(default)

// Whether standard input, standard error is a terminal: a person can answer a question, watch a
// progress line.
bool YIsStandardInputTerminal();
bool YIsStandardErrorTerminal();
// Whether standard input is a terminal and the process has a controlling terminal to ask on, so
// a question can be asked key by key with ReadConsoleLine.
bool YHasConsoleTerminal();

enum class YConsoleLineResult {
    Read,     // the line is in line
    Ended,    // input ended before a line began
    TooLong,  // longer than kYConsoleMaxLineBytes; the rest of the line stays unread
    NotText,  // the line is not valid UTF-8
    Failed,   // standard input could not be read
};

inline constexpr std::size_t kYConsoleMaxLineBytes = std::size_t{1} << 20;

// Reads the next line of standard input, without its line break (a trailing CR is dropped too);
// a last line without a line break counts. No byte after the line break is consumed, so other
// readers of standard input find the next line, and the bytes pass through no buffer but
// memory that is wiped. With hidden set and standard input a terminal, what is typed is not
// shown. line is empty unless Read.
YConsoleLineResult YReadStandardInputLine(bool hidden, YSecretText& line);

#pragma GCC visibility pop
