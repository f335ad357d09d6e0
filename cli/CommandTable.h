// rivode's commands, options and arguments as plain data, read from the command line parser
// itself, so the shell completion and the manual page describe exactly what rivode accepts.
#pragma once

#include "CompletionHint.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace rivode::cli {

struct OptionEntry {
    std::vector<std::string> names;  // "-h", "--help": short names first
    std::string valueName;           // "DIR"; for a flag, what follows it when anything does
    bool takesValue = false;
    std::string description;
    std::vector<std::string> choices;  // the only values accepted, when the parser has a list
    CompletionHint hint;
};

struct PositionalEntry {
    std::string name;  // "KEYPATH"
    std::string description;
    bool required = false;
    bool repeats = false;  // takes every further argument
    std::vector<std::string> choices;
    CompletionHint hint;
};

struct CommandEntry {
    std::vector<std::string> path;  // {"session", "show"}; empty for rivode itself
    std::string description;
    std::string footer;  // what the help prints after the options
    // The command's own options, then those of the commands above it that it accepts too.
    std::vector<OptionEntry> options;
    std::size_t ownOptionCount = 0;
    std::vector<PositionalEntry> positionals;
    std::vector<CommandEntry> subcommands;
    bool needsSubcommand = false;
};

// The table of app and every visible command below it. Hidden commands and options (those
// without a help group) are left out.
CommandEntry ReadCommandTable(CLI::App& app);

// The path's words joined by blanks ("session show").
std::string JoinPath(const std::vector<std::string>& path);

// Every command of the table, depth first, parents before their subcommands.
std::vector<const CommandEntry*> FlattenCommands(const CommandEntry& root);

}  // namespace rivode::cli
