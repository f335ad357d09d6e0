#include "ConfigFolder.h"

#include "HostSetup.h"
#include "Output.h"

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

HostFolders ToHostFolders(const StoreFolders& folders) {
    HostFolders host;
    host.main = FromUtf8(folders.main);
    host.personal = FromUtf8(folders.personal);
    host.source = folders.source;
    host.personalGiven = folders.personalFromCommandLine;
    host.settingsFile = folders.settingsFile;
    return host;
}

void FindRecordedFolders(int product, StoreFolders& folders) {
    HostFolders host = ToHostFolders(folders);
    FindHostFolders(
        YUnicodeString(kRivodeAppName), product,
        [](YReportMessageParams& notice) { PrintNote(ReportText(notice)); }, host);
    folders.main = ToUtf8(host.main);
    folders.personal = ToUtf8(host.personal);
    folders.source = host.source;
}

bool NormaliseFolderArgument(std::string_view text, std::string& path, std::string& problem) {
    YUnicodeString folder;
    YReportMessageParams report;
    if (!NormaliseHostFolderArgument(text, folder, report)) {
        problem = ReportText(report);
        return false;
    }
    path = ToUtf8(folder);
    return true;
}

FolderState InspectFolder(const std::string& path) {
    return InspectHostFolder(FromUtf8(path));
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
