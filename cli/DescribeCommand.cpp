// rivode without a command: a description of the configuration folder.
#include "cli/CommandStore.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/ValueFormat.h"

namespace rivode::cli {

namespace {

void PrintFolderLine(const char* label, const std::string& path, FolderState state) {
    PrintLine(std::string(label) + ": " + path + " (" + DescribeFolderState(state) + ")");
}

}  // namespace

ExitStatus RunDescribe(const CommandOptions& options) {
    const FolderState state = InspectFolder(options.folders.main);
    PrintFolderLine("Configuration folder", options.folders.main, state);
    if (!options.folders.personal.empty()) {
        PrintFolderLine("Personal-data folder", options.folders.personal,
                        InspectFolder(options.folders.personal));
    }
    if (state == FolderState::Missing) {
        return ExitOk;
    }
    if (state != FolderState::Folder) {
        return Fail(StoreFailure("the configuration folder " + options.folders.main + " " +
                                 DescribeFolderState(state)));
    }

    CommandStore store(options.folders, true);
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
