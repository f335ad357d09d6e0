// The configuration passphrase of the running host, as published in the passphrase block.
//
// Every sensitive value is enciphered under one configuration passphrase. Once a process has
// established it, the passphrase is published in a small block that the host processes of one
// user share (when the host asked for sharing at initialisation; otherwise the block is private
// to the process), so the most recently published passphrase is the one every process uses.
//
// The block holds the passphrase only in enciphered form. Each call takes the block's
// inter-process lock for the duration of one read or write, so the functions are safe from any
// thread and any process. When the host has not created the block, the first call makes a
// private one.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

// The published passphrase, deciphered from the block on every call; empty when none is
// published (or when the block's content cannot be deciphered).
YUnicodeString GetConfigPassphrase();

// Publishes passphrase (nullptr stands for the empty passphrase). A passphrase whose enciphered
// form would not fit the block (more than 2047 characters) is not stored: the block keeps what
// it held.
void SetConfigPassphrase(const char16_t* passphrase);

// Whether the user chose to go on with sensitive data switched off: sensitive values are then
// neither deciphered nor saved.
bool IsConfigPassphraseDisabled();
void SetConfigPassphraseDisabled(bool disabled);

#pragma GCC visibility pop
