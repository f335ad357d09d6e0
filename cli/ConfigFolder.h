// The configuration folder and personal-data folder a command works on.
#pragma once

#include <string>
#include <string_view>

namespace rivode::cli {

// How the configuration folder of this run was found, in the order rivode tries the places.
enum class FolderSource {
    CommandLine,      // --config
    Recorded,         // "Config Path" of rivode's key in the per-user registry
    RecordedOlder,    // "Config Path" of the older key "Global"
    UnderExecutable,  // the folder "Config" beside rivode, holding a global.ini
    Default,          // $XDG_CONFIG_HOME/yarrowby/Config
};
const char* DescribeFolderSource(FolderSource source);

// Native UTF-8 paths without a trailing '/'; personal is empty when there is none.
struct StoreFolders {
    std::string main;
    std::string personal;
    FolderSource source = FolderSource::Default;
    bool personalFromCommandLine = false;
    // main names an XML settings file (an export) rather than a configuration folder; it is
    // only read, and has no personal-data folder.
    bool settingsFile = false;
};

// "the configuration folder DIR" or "the XML settings file FILE", for messages.
std::string DescribeConfiguration(const StoreFolders& folders);

// The configuration folder when --config names none: the recorded one (a redirect left in it
// is followed and recorded, with the notice on stderr), else the one under the executable,
// else the default. Then the personal-data folder when the user stores personal data
// separately and --personal names none.
void FindRecordedFolders(int product, StoreFolders& folders);

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
