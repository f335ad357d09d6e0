// Lines of standard input for values that must not appear on the command line, where other users
// could see them in the process list: passphrases and the plaintexts of sensitive values.
#pragma once

#include "ExitStatus.h"

#include <RivodeRavudaVU/YUnicodeString.h>

namespace rivode::cli {

// The next line of standard input as text, asked for with prompt when a person is typing it
// (without echo when secret). what names the line in failures ("passphrase"). false with a usage
// failure when input ended or the line is not UTF-8.
[[nodiscard]] bool ReadInputText(const char* prompt, const char* what, bool secret,
                                 YUnicodeString& text, CommandFailure& failure);

}  // namespace rivode::cli
