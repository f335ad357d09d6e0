#include "cli/CommandGroup.h"

namespace rivode::cli {

std::unique_ptr<CommandGroup> MakeGlobalCommands();
std::unique_ptr<CommandGroup> MakeCipherCommands();
std::unique_ptr<CommandGroup> MakeProductCommands();

std::vector<std::unique_ptr<CommandGroup>> MakeCommandGroups() {
    std::vector<std::unique_ptr<CommandGroup>> groups;
    groups.push_back(MakeGlobalCommands());
    groups.push_back(MakeCipherCommands());
    groups.push_back(MakeProductCommands());
    return groups;
}

}  // namespace rivode::cli
