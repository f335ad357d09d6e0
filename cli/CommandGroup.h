// A group of rivode's commands that belong together ("global list|get|set", "products"). Each
// group adds its subcommands to the command line and runs the one that was chosen.
#pragma once

#include "CommandOptions.h"
#include "ExitStatus.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <vector>

namespace rivode::cli {

class CommandGroup {
public:
    virtual ~CommandGroup() = default;
    // Adds the group's subcommands to app. Options every command shares (--json, the folders)
    // bind to options, which outlives the group's use.
    virtual void Add(CLI::App& app, CommandOptions& options) = 0;
    // Runs the group's command when one of them was chosen; nullopt otherwise.
    virtual std::optional<ExitStatus> Run(const CommandOptions& options) = 0;
};

// Every group, in the order their commands appear in the help.
std::vector<std::unique_ptr<CommandGroup>> MakeCommandGroups();

}  // namespace rivode::cli
