// completion bash|zsh and the hidden manpage: rivode describes its own command line. They run
// before the library is prepared, so they neither read nor make a configuration folder, and the
// build can run them to write the files the packages install.
#pragma once

#include "CommandGroup.h"

namespace rivode::cli {

// The group reads the whole command line when it runs, so it sees every command added to app,
// before or after it.
std::unique_ptr<CommandGroup> MakeDocumentationCommands();

}  // namespace rivode::cli
