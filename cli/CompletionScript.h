// The bash and zsh completion scripts of rivode, written from its command table: the commands,
// their options and, as each argument's hint says, file names, folders, or the names rivode
// itself lists (sessions, session folders, keys, global values, ...), asked of the rivode being
// completed with the --config, --personal and --product options already on the command line.
#pragma once

#include "CommandTable.h"

#include <string>

namespace rivode::cli {

std::string BashCompletionScript(const CommandEntry& root);
std::string ZshCompletionScript(const CommandEntry& root);

}  // namespace rivode::cli
