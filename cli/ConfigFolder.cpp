#include "cli/ConfigFolder.h"

#include "cli/HostSetup.h"
#include "cli/Output.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <DavaraZE/YAppName.h>
#include <RivodeRavudaVU/ConfigFolders.h>

#include <DavaraZE/YwsPaths.h>

#include <RivodeRavudaVU/YUnicodeString.h>

namespace rivode::cli {

const char* DescribeFolderSource(FolderSource source) {
    switch (source) {
        case FolderSource::CommandLine:
            return "command line";
        case FolderSource::Recorded:
            return "recorded";
        case FolderSource::RecordedOlder:
            return "recorded in the older place";
        case FolderSource::UnderExecutable:
            return "beside rivode";
        default:
            return "default";
    }
}

void FindRecordedFolders(int product, StoreFolders& folders) {
    // The registry key is named after the application.
    const YUnicodeString appName(kRivodeAppName);
    YSetAppName(appName);
    if (folders.source != FolderSource::CommandLine) {
        YUnicodeString path = GetAppConfigPath(appName);
        folders.source = FolderSource::Recorded;
        if (path.empty()) {
            path = GetAppConfigPathAlpha(product);
            folders.source = FolderSource::RecordedOlder;
        }
        if (!path.empty()) {
            const bool followed = CheckAppConfigPathRedirect(
                true, [](YReportMessageParams& notice) { PrintNote(ReportText(notice)); },
                product, path);
            if (!followed) {
                PrintNote("the configuration folder " + ToUtf8(path) +
                          " held an incomplete migration, and its Global.ini could not be "
                          "moved aside");
            }
        } else {
            path = GetAppConfigPathUnderExe(FromUtf8(platform::GetExecutableFolder()));
            folders.source = FolderSource::UnderExecutable;
        }
        if (path.empty()) {
            folders.main = DefaultConfigFolder();
            folders.source = FolderSource::Default;
        } else {
            std::string problem;
            if (!NormaliseFolderArgument(ToUtf8(path), folders.main, problem)) {
                folders.main = DefaultConfigFolder();
                folders.source = FolderSource::Default;
            }
        }
    }
    if (!folders.settingsFile && !folders.personalFromCommandLine &&
        UsePersonalDataPath(appName)) {
        folders.personal =
            ToUtf8(GetAppPersonalDataPath(appName, FromUtf8(folders.main)));
    }
}

std::string DefaultConfigFolder() {
    return ToUtf8(GetDefaultConfigFolder());
}

bool NormaliseFolderArgument(std::string_view text, std::string& path, std::string& problem) {
    YUnicodeString ignored;
    if (text.empty()) {
        problem = "a folder path cannot be empty";
        return false;
    }
    if (!FromUtf8Strict(text, ignored)) {
        problem = "the folder path \"" + std::string(text) + "\" is not valid UTF-8 text";
        return false;
    }
    // The store appends ".ini" to the folder's path for the root key's values, so a trailing
    // separator would put that file inside the folder.
    while (text.size() > 1 && text.back() == '/') {
        text.remove_suffix(1);
    }
    path.assign(text);
    return true;
}

FolderState InspectFolder(const std::string& path) {
    platform::FileInfo info;
    if (platform::FileSystem::Current().GetFileInfo(path, info) != 0) {
        return FolderState::Unreadable;
    }
    if (!info.exists) {
        return FolderState::Missing;
    }
    return info.isFolder ? FolderState::Folder : FolderState::NotAFolder;
}

std::string DescribeConfiguration(const StoreFolders& folders) {
    return (folders.settingsFile ? "the XML settings file " : "the configuration folder ") +
           folders.main;
}

const char* DescribeFolderState(FolderState state) {
    switch (state) {
        case FolderState::Missing:
            return "does not exist";
        case FolderState::Folder:
            return "exists";
        case FolderState::NotAFolder:
            return "is not a folder";
        default:
            return "cannot be examined";
    }
}

}  // namespace rivode::cli
