// Text conversions the key-map readers share.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

// Replaces every from in text by to, left to right; what was put in is not searched again.
void ReplaceAll(YUnicodeString& text, std::u16string_view from, std::u16string_view to);

// Replaces each escape "\r\n" (backslash, r, backslash, n) of a SEND text by "\\r\\n", as texts
// stored before the format had a version are read.
void DoubleLineBreakEscapes(YUnicodeString& text);
