// The host's display name: the application key of its per-user settings and the "%1" of many
// messages ("Quillterm", "Quillfile", "rivode"). Thread-safe.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

// The name the host set, else the file name of the running executable.
YUnicodeString YGetAppName();

// Set by the host at initialisation, before the name is used in settings paths. An empty name
// returns to the default.
void YSetAppName(const YUnicodeString& name);

#pragma GCC visibility pop
