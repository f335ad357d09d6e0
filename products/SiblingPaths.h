// Where detection looked for a sibling executable, whether or not it counts as installed.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

// The path of the executable of product 1, 3 or 6 in the folder of the last detection; empty
// before any detection and for other products.
YUnicodeString GetSiblingExecutablePath(int product);
