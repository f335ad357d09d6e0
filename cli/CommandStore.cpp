#include "CommandStore.h"

#include "Output.h"

namespace rivode::cli {

namespace {

std::string JoinForDisplay(const KeyPath& path, std::size_t count) {
    KeyPath prefix;
    prefix.names.assign(path.names.begin(), path.names.begin() + count);
    return prefix.ToDisplayText();
}

}  // namespace

CommandStore::CommandStore(const StoreFolders& folders, bool readOnly) : folders_(folders) {
    // The store uses its factory only while it is being constructed.
    const std::unique_ptr<YProfileStoreFactory> factory =
        MakeHostStoreFactory(ToHostFolders(folders));
    store_ = std::make_unique<YProfileStore>(readOnly, factory.get());
}

YProfileKey* CommandStore::OpenForReading(std::string_view keyPathText, CommandFailure& failure) {
    KeyPath path;
    std::string problem;
    if (!ParseKeyPath(keyPathText, path, problem)) {
        failure = UsageFailure(problem);
        return nullptr;
    }
    return OpenForReading(path, failure);
}

YProfileKey* CommandStore::OpenForReading(const KeyPath& path, CommandFailure& failure) {
    if (!(folders_.settingsFile ? CheckSettingsFile(failure) : CheckFolder(path, failure))) {
        return nullptr;
    }
    std::string missingPath;
    YProfileKey* key = OpenExisting(path, missingPath);
    if (key == nullptr) {
        failure = StoreFailure("the key \"" + missingPath + "\" does not exist");
    }
    return key;
}

bool CommandStore::CheckFolder(const KeyPath& path, CommandFailure& failure) {
    // The root key's values live beside the folder, so a root with values but no folder
    // still counts.
    const FolderState state = InspectFolder(folders_.main);
    const bool rootFileOnly = state == FolderState::Missing && path.IsRoot() &&
                              InspectFolder(folders_.main + ".ini") == FolderState::NotAFolder;
    if (state != FolderState::Folder && !rootFileOnly) {
        failure = StoreFailure(DescribeConfiguration(folders_) + " " + DescribeFolderState(state));
        return false;
    }
    return true;
}

bool CommandStore::CheckSettingsFile(CommandFailure& failure) {
    const FolderState state = InspectFolder(folders_.main);
    if (state != FolderState::NotAFolder) {
        failure = StoreFailure(DescribeConfiguration(folders_) + " " + DescribeFolderState(state));
        return false;
    }
    // A file that is not a settings document reads as an empty tree: say why instead.
    if (const YReportMessageParams& status = Root().GetStatus(); !status.IsSuccess()) {
        failure = StoreFailure(ReportText(status));
        return false;
    }
    return true;
}

YProfileKey* CommandStore::OpenExisting(const KeyPath& path, std::string& missingPath) {
    const std::size_t depth = OpenExistingPart(path);
    if (depth < path.names.size()) {
        missingPath = JoinForDisplay(path, depth + 1);
        openedKey_.reset();
        return nullptr;
    }
    return &Current();
}

YProfileKey* CommandStore::OpenOrCreate(const KeyPath& path, CommandFailure& failure) {
    std::size_t depth = OpenExistingPart(path);
    // Every new name is checked before the first key is made, so a refused path leaves no
    // half-made keys behind.
    for (std::size_t i = depth; i < path.names.size(); ++i) {
        if (!CheckNewKeyName(path.names[i], failure)) {
            openedKey_.reset();
            return nullptr;
        }
    }
    // The keys are opened, not made: a key is its value file, which saving the value makes
    // with the folders it needs, and a save that fails takes them away again, so a refused
    // value leaves no empty key behind.
    for (; depth < path.names.size(); ++depth) {
        openedKey_ = std::make_unique<YProfileKey>(Current(), path.names[depth], false);
    }
    return &Current();
}

std::size_t CommandStore::OpenExistingPart(const KeyPath& path) {
    openedKey_.reset();
    std::size_t depth = 0;
    for (; depth < path.names.size(); ++depth) {
        if (!Current().SubKeyExists(path.names[depth])) {
            break;
        }
        openedKey_ = std::make_unique<YProfileKey>(Current(), path.names[depth], false);
    }
    return depth;
}

bool CommandStore::CheckNewKeyName(const YUnicodeString& name, CommandFailure& failure) {
    // A configuration folder moves between platforms: a key made here must be a valid
    // folder and file name on all of them.
    if (!IsPortableKeyName(name) || IsReservedDeviceName(name)) {
        failure = UsageFailure("cannot create the key \"" + ToUtf8(name) +
                               "\": the name is not a valid folder and file name on every "
                               "platform");
        return false;
    }
    YRefPtr<YReportMessageParams> verdict;
    if (!Current().CheckSubKeyName(name, &verdict)) {
        failure = StoreFailure("cannot create the key \"" + ToUtf8(name) +
                               "\": " + (verdict ? ReportText(*verdict) : "the name is too long"));
        return false;
    }
    return true;
}

}  // namespace rivode::cli
