// Reading answers from the person at the console: passphrases and other secrets.
#pragma once

#include <string>

namespace rivode::platform {

// Reads one line from standard input, without its line break (a trailing CR is dropped too).
// With hidden set and standard input a terminal, what is typed is not shown (only the line
// break is), and the terminal is restored before returning. false at the end of input or on a
// read error, line then empty.
bool ReadStandardInputLine(std::string& line, bool hidden);

}  // namespace rivode::platform
