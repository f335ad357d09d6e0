// The passphrase area: the block through which the host processes of one user share the
// configuration passphrase, created when the host initialises the library and released when it
// unloads it.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

// Bit of the host's initialisation flags that asks for a shared area.
inline constexpr int kShareConfigPassphrase = 0x1;

struct PassphraseAreaNames {
    YUnicodeString mapName;
    YUnicodeString lockName;
};

// The names of product's area. Integrated products share one area; any other product keeps its
// own, named with its number.
PassphraseAreaNames GetPassphraseAreaNames(int product, bool integrated);

// Makes the process's passphrase block, replacing one made before: shared under product's names
// when flags has kShareConfigPassphrase and the shared area can be set up, otherwise private to
// the process. Never fails: without a shared area the passphrase simply is not shared.
void CreatePassphraseArea(int product, int flags);
// Drops the block; a later access to the passphrase gets a private one. A second call does
// nothing.
void ReleasePassphraseArea();
