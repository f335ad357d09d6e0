// How a host finds the configuration it works on and sets the library up for it: what every
// host of the library (a console command, a GUI) does the same way at start-up, so that all of
// them find the same folders for the same application name.
//
// A host: reads its command line (NormaliseHostFolderArgument for a folder given there), calls
// FindHostFolders, then PrepareHost, then registers its own message table, chooses its user
// interface (YSetUserInterface) and, with one, calls RivodeRavudaVuInitGUI. Meant for the
// host's thread at start-up.
#pragma once

#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <memory>
#include <string_view>

#pragma GCC visibility push(default)

// Where the configuration folder was found, in the order FindHostFolders tries the places.
enum class HostFolderSource {
    CommandLine,      // given by the host (the user named it)
    Recorded,         // "Config Path" of the application's key in the per-user registry
    RecordedOlder,    // "Config Path" of the older key "Global"
    UnderExecutable,  // the folder "Config" beside the executable, holding a global.ini
    Default,          // GetDefaultConfigFolder()
};

// Native paths without a trailing '/'.
struct HostFolders {
    // The configuration folder, or the XML settings file when settingsFile is set.
    YUnicodeString main;
    // The personal-data folder; empty when personal data lives in the configuration.
    YUnicodeString personal;
    HostFolderSource source = HostFolderSource::Default;
    // personal was given by the host and is kept as it is.
    bool personalGiven = false;
    // main names an XML settings file (an export): it is only read and has no personal folder.
    bool settingsFile = false;
};

// Names the application appName in the companion library (the key its folders are recorded
// under), then fills folders.main, unless its source is CommandLine: the recorded folder of appName
// (a redirect left in a moved folder is followed and recorded; its notice, and the warning
// 0xA1380662 when an incomplete migration could not be moved aside, go to notify when set),
// else the older recorded one, else the one under the executable, else the default. Then
// folders.personal, unless given or a settings file, when the user stores personal data
// separately. Never fails: a place that cannot be used falls through to the next.
void FindHostFolders(const YUnicodeString& appName, int product, const ConfigFolderNotice& notify,
                     HostFolders& folders);

// The store of the folders: the INI folder store of the configuration folder (with its
// personal-data folder), or the XML file store of a settings file, read only: every store of
// such a file loads it whole and would save it whole, so writing through several would lose
// changes.
std::unique_ptr<YProfileStoreFactory> MakeHostStoreFactory(const HostFolders& folders);

// Initialises the library for the host (RivodeRavudaVuInit with initFlags), makes the store of
// folders the one every library call opens when it is given none (the library keeps it until
// the next PrepareHost), names the application appName in the companion library, and records
// the configuration folder the process works on: the "${YWS_CONFIG_PATH}" of stored paths (the
// folder holding a settings file).
void PrepareHost(const YUnicodeString& appName, int product, int initFlags,
                 const HostFolders& folders);

// A folder path given on the host's command line, in UTF-8: false with 0xE1380663 when empty,
// 0xE1380664 when not valid UTF-8. Otherwise the path without its trailing '/' (the store
// appends ".ini" to the folder's path for the root key's values, so a trailing separator would
// put that file inside the folder). The folder need not exist.
[[nodiscard]] bool NormaliseHostFolderArgument(std::string_view argument, YUnicodeString& path,
                                               YReportMessageParams& report);

enum class HostFolderState { Missing, Folder, NotAFolder, Unreadable };
// What is at path now (a link counts as what it points to).
HostFolderState InspectHostFolder(const YUnicodeString& path);

#pragma GCC visibility pop
