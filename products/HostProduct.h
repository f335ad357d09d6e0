// The product the host told the library it is, and the flags it initialised the library with.
// Set once by the host's initialisation on its thread, read afterwards from any thread.
#pragma once

// Initialisation flags.
inline constexpr int kHostInitSharePassphrase = 0x1;  // share the passphrase between processes
inline constexpr int kHostInitNoUserInterface = 0x2;  // the host runs without a user interface

void SetHostProduct(int product, int flags);
// 3 (Quillterm) until the host says otherwise.
int GetHostProduct();
int GetHostInitFlags();
