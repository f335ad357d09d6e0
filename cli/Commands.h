// The commands of rivode. Each prints its results on stdout and its messages on stderr and
// returns the exit status.
#pragma once

#include "CommandOptions.h"
#include "ExitStatus.h"

namespace rivode::cli {

// Where the configuration folder is, whether it exists and what it holds at the top level.
ExitStatus RunDescribe(const CommandOptions& options);

ExitStatus RunKeys(const CommandOptions& options);
ExitStatus RunDeleteKey(const CommandOptions& options);

ExitStatus RunValues(const CommandOptions& options);
ExitStatus RunGet(const CommandOptions& options);
ExitStatus RunSet(const CommandOptions& options, const ValueArgument& argument);
ExitStatus RunDelete(const CommandOptions& options);

}  // namespace rivode::cli
