#include "CommandGroup.h"

namespace rivode::cli {

std::unique_ptr<CommandGroup> MakeGlobalCommands();
std::unique_ptr<CommandGroup> MakeCipherCommands();
std::unique_ptr<CommandGroup> MakeProductCommands();
std::unique_ptr<CommandGroup> MakeSessionListCommands();
std::unique_ptr<CommandGroup> MakeSessionValueCommands();
std::unique_ptr<CommandGroup> MakeSessionItemCommands();
std::unique_ptr<CommandGroup> MakeFolderCommands();
std::unique_ptr<CommandGroup> MakeDefaultCommands();
std::unique_ptr<CommandGroup> MakeImportTextCommands();
std::unique_ptr<CommandGroup> MakeKeymapCommands();
std::unique_ptr<CommandGroup> MakeColorCommands();
std::unique_ptr<CommandGroup> MakePassphraseCommands();
std::unique_ptr<CommandGroup> MakeCredentialCommands();
std::unique_ptr<CommandGroup> MakeFirewallCommands();
std::unique_ptr<CommandGroup> MakeKeywordCommands();
std::unique_ptr<CommandGroup> MakePrinterCommands();
std::unique_ptr<CommandGroup> MakeConfigFolderCommands();
std::unique_ptr<CommandGroup> MakePersonalCommands();
std::unique_ptr<CommandGroup> MakeSettingsTransferCommands();

std::vector<std::unique_ptr<CommandGroup>> MakeCommandGroups() {
    std::vector<std::unique_ptr<CommandGroup>> groups;
    groups.push_back(MakeGlobalCommands());
    groups.push_back(MakeCipherCommands());
    groups.push_back(MakeProductCommands());
    groups.push_back(MakeSessionListCommands());
    groups.push_back(MakeSessionValueCommands());
    groups.push_back(MakeSessionItemCommands());
    groups.push_back(MakeFolderCommands());
    groups.push_back(MakeDefaultCommands());
    groups.push_back(MakeImportTextCommands());
    groups.push_back(MakeKeymapCommands());
    groups.push_back(MakeColorCommands());
    groups.push_back(MakePassphraseCommands());
    groups.push_back(MakeCredentialCommands());
    groups.push_back(MakeFirewallCommands());
    groups.push_back(MakeKeywordCommands());
    groups.push_back(MakePrinterCommands());
    groups.push_back(MakeConfigFolderCommands());
    groups.push_back(MakePersonalCommands());
    groups.push_back(MakeSettingsTransferCommands());
    return groups;
}

}  // namespace rivode::cli
