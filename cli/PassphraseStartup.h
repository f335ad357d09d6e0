// The configuration passphrase for commands that read or write sensitive values.
#pragma once

#include "CommandOptions.h"
#include "ExitStatus.h"

namespace rivode::cli {

// Establishes the passphrase as a console host does at start-up: a passphrase the user's other
// processes published for this configuration, else the one asked for on the terminal, else the
// first line of standard input (fromInput), else a failure (0xE1380035). A configuration that
// never established a passphrase, used without a terminal and without fromInput, works with the
// empty passphrase and establishes nothing, unless the policy requires a passphrase.
[[nodiscard]] bool EstablishPassphrase(const CommandOptions& options, bool fromInput,
                                       CommandFailure& failure);

}  // namespace rivode::cli
