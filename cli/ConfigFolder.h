// The configuration folder and personal-data folder a command works on.
#pragma once

#include <string>
#include <string_view>

namespace rivode::cli {

// Native UTF-8 paths without a trailing '/'; personal is empty when there is none.
struct StoreFolders {
    std::string main;
    std::string personal;
};

// $XDG_CONFIG_HOME/yarrowby/Config, with ~/.config when the variable is unset.
std::string DefaultConfigFolder();

// A folder path given on the command line, checked to be UTF-8 (the library's paths are text)
// and without its trailing '/'. false with a problem otherwise.
[[nodiscard]] bool NormaliseFolderArgument(std::string_view text, std::string& path,
                                           std::string& problem);

enum class FolderState { Missing, Folder, NotAFolder, Unreadable };
FolderState InspectFolder(const std::string& path);
const char* DescribeFolderState(FolderState state);

}  // namespace rivode::cli
