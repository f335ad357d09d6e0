// Sensitive values a command stores: their plaintext comes from standard input only, never from
// the command line, and is enciphered under the passphrase of the configuration folder.
#pragma once

#include "cli/CommandOptions.h"
#include "cli/ExitStatus.h"

#include <RivodeRavudaVU/YProfileData.h>
#include <RivodeRavudaVU/YUnicodeString.h>

namespace rivode::cli {

// The passphrase the folder's sensitive values are enciphered under. It must decipher the check
// value "Config Passphrase" of the global key; without one there, there is no passphrase. With
// fromInput it is the first line of standard input; otherwise the passphrase the user's running
// hosts share is tried, then none.
[[nodiscard]] bool ChooseConfigPassphrase(const CommandOptions& options, bool fromInput,
                                          YUnicodeString& passphrase, CommandFailure& failure);

// Enciphers the plaintext read from standard input (after the passphrase line, with fromInput)
// into value, which must be an encrypted value. prompt asks for it on a terminal.
[[nodiscard]] bool SetEncryptedValue(const CommandOptions& options, YProfileData& value,
                                     bool fromInput, CommandFailure& failure,
                                     const char* prompt = "Value: ");

}  // namespace rivode::cli
