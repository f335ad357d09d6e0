// What the shell completion offers for an option's value or a positional argument. A command
// group marks its arguments where it adds them, so the completion scripts, generated from the
// command line itself, learn of new commands and their arguments without a list kept elsewhere.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace rivode::cli {

enum class CompletionKind {
    None,       // nothing to offer (free text, numbers)
    File,       // a file name
    Directory,  // a folder of the file system
    KeyPath,    // a key of the configuration folder, subkeys listed by `rivode keys`
    Session,    // a session's path, folders and sessions listed by `rivode sessions`
    Folder,     // a session folder's path
    Listed,     // the first field (up to a TAB) of each line a rivode command prints
};

struct CompletionHint {
    CompletionKind kind = CompletionKind::None;
    // Listed: the rivode command that lists the candidates, words separated by blanks
    // ("global list"); File: a pattern the names should match ("*.key"), empty for any.
    std::string argument;
};

// Marks option (a positional argument or an option that takes a value). The mark is a validator
// that accepts everything and says nothing in the help.
void CompleteWith(CLI::Option& option, CompletionKind kind, const std::string& argument = {});

// The mark CompleteWith left on option; kind None when there is none. Options whose help type
// names folders ("DIR") complete as folders without a mark.
CompletionHint CompletionHintOf(CLI::Option& option);

}  // namespace rivode::cli
