// Reading answers from the person at the console: passphrases and other secrets.
#pragma once

#include "platform/SecureMemory.h"

#include <cstddef>

#pragma GCC visibility push(default)

namespace rivode::platform {

enum class InputLineResult {
    Read,     // line holds the line
    Ended,    // input ended before a line began
    TooLong,  // the line exceeds kMaxInputLineLength bytes; the rest of it stays unread
    Failed,   // standard input could not be read
};

inline constexpr std::size_t kMaxInputLineLength = 1 << 20;

// Reads one line from standard input into secure memory, without its line break (a trailing CR
// is dropped too); a last line without a line break counts. The bytes go straight from the
// system into line, through no buffer of the C or C++ library that nobody could wipe, and no
// byte after the line break is consumed, so other readers of standard input find the next line.
// With hidden set and standard input a terminal, what is typed is not shown (only the line break
// is), and the terminal is restored before returning. line is empty unless Read.
InputLineResult ReadStandardInputLine(SecureChars& line, bool hidden);

}  // namespace rivode::platform

#pragma GCC visibility pop
