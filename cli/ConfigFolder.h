// The configuration folder and personal-data folder a command works on, as the library's host
// setup finds them (RivodeRavudaVU/HostSetup.h), in the UTF-8 paths rivode prints.
#pragma once

#include <RivodeRavudaVU/HostSetup.h>

#include <string>
#include <string_view>

namespace rivode::cli {

using FolderSource = HostFolderSource;
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

HostFolders ToHostFolders(const StoreFolders& folders);

// "the configuration folder DIR" or "the XML settings file FILE", for messages.
std::string DescribeConfiguration(const StoreFolders& folders);

// The configuration folder when --config names none, and the personal-data folder when
// --personal names none (FindHostFolders); notices go to stderr.
void FindRecordedFolders(int product, StoreFolders& folders);

// A folder path given on the command line (NormaliseHostFolderArgument). false with a problem
// otherwise.
[[nodiscard]] bool NormaliseFolderArgument(std::string_view text, std::string& path,
                                           std::string& problem);

using FolderState = HostFolderState;
FolderState InspectFolder(const std::string& path);
const char* DescribeFolderState(FolderState state);

}  // namespace rivode::cli
