// Text conversions the key-map readers share.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

// Replaces each escape "\r\n" (backslash, r, backslash, n) of a SEND text by "\\r\\n", as texts
// stored before the format had a version are read.
void DoubleLineBreakEscapes(YUnicodeString& text);
