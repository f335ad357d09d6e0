// Where the companion library's texts (labels, console answers, its reports' texts) come from.
//
// The companion library sits below the library that holds the message table, so the table's
// owner registers its loader at initialisation. Until one is registered, labels fall back to
// built-in English texts. Thread-safe.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>

#pragma GCC visibility push(default)

// Returns the single-line text of a message with its inserts left in place, or an empty text
// when the id has none.
using YMessageStringLoader = YUnicodeString (*)(std::uint32_t id);

// nullptr returns to the built-in texts.
void YSetMessageStringLoader(YMessageStringLoader loader);

// The registered loader's text of id, else fallback (also when the loader knows no text).
YUnicodeString YLoadMessageString(std::uint32_t id, const char16_t* fallback);

#pragma GCC visibility pop
