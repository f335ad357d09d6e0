#include "cli/CommandGroup.h"

namespace rivode::cli {

std::vector<std::unique_ptr<CommandGroup>> MakeCommandGroups() {
    std::vector<std::unique_ptr<CommandGroup>> groups;
    return groups;
}

}  // namespace rivode::cli
