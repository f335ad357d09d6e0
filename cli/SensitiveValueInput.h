// Sensitive values a command stores: their plaintext comes from standard input only, never from
// the command line, and is enciphered under the configuration passphrase.
#pragma once

#include "CommandOptions.h"
#include "ExitStatus.h"

#include <RivodeRavudaVU/YProfileData.h>

namespace rivode::cli {

// Establishes the configuration passphrase (EstablishPassphrase), then enciphers the plaintext
// read from standard input (after the passphrase line, with fromInput) into value, which must be
// an encrypted value. prompt asks for it on a terminal.
[[nodiscard]] bool SetEncryptedValue(const CommandOptions& options, YProfileData& value,
                                     bool fromInput, CommandFailure& failure,
                                     const char* prompt = "Value: ");

}  // namespace rivode::cli
