// rivode without a command: a description of the configuration folder or settings file.
#include "CommandStore.h"
#include "Commands.h"
#include "Output.h"
#include "ValueFormat.h"

namespace rivode::cli {

namespace {

void PrintFolderLine(const char* label, const std::string& path, FolderState state) {
    PrintLine(std::string(label) + ": " + path + " (" + DescribeFolderState(state) + ")");
}

}  // namespace

ExitStatus RunDescribe(const CommandOptions& options) {
    const StoreFolders& folders = options.folders;
    const FolderState state = InspectFolder(folders.main);
    // A settings file is what a configuration folder is to the other commands.
    const FolderState usable = folders.settingsFile ? FolderState::NotAFolder : FolderState::Folder;
    PrintFolderLine(folders.settingsFile ? "XML settings file" : "Configuration folder",
                    folders.main, state == usable ? FolderState::Folder : state);
    if (!folders.personal.empty()) {
        PrintFolderLine("Personal-data folder", folders.personal, InspectFolder(folders.personal));
    }
    if (state == FolderState::Missing) {
        return ExitOk;
    }
    if (state != usable) {
        return Fail(
            StoreFailure(DescribeConfiguration(folders) + " " + DescribeFolderState(state)));
    }

    CommandStore store(folders, true);
    if (const YReportMessageParams& status = store.Root().GetStatus(); !status.IsSuccess()) {
        return Fail(StoreFailure(ReportText(status)));
    }
    std::vector<std::string> keyLines;
    YProfileKeyIterator subKeys(store.Root(), false);
    YUnicodeString name;
    int kind = ValueKindUnknown;
    while (subKeys.Next(name, kind)) {
        if (IsSubKeyKind(kind)) {
            keyLines.push_back("  " + ToUtf8(name) + " (" + SubKeyKindWord(kind) + ")");
        }
    }
    std::size_t valueCount = 0;
    YProfileKeyIterator values(store.Root(), true);
    while (values.Next(name)) {
        ++valueCount;
    }
    PrintLine("Keys at the top level: " + std::to_string(keyLines.size()));
    for (const std::string& line : keyLines) {
        PrintLine(line);
    }
    PrintLine("Values of the root key: " + std::to_string(valueCount));
    return ExitOk;
}

}  // namespace rivode::cli
