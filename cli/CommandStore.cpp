#include "cli/CommandStore.h"

#include "cli/Output.h"

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
    YIniFileStoreFactory factory(FromUtf8(folders.main), FromUtf8(folders.personal));
    store_ = std::make_unique<YProfileStore>(readOnly, &factory);
}

YProfileKey* CommandStore::OpenForReading(const KeyPath& path, CommandFailure& failure) {
    const FolderState state = InspectFolder(folders_.main);
    if (state != FolderState::Folder) {
        failure = StoreFailure("the configuration folder " + folders_.main + " " +
                               DescribeFolderState(state));
        return nullptr;
    }
    std::string missingPath;
    YProfileKey* key = OpenExisting(path, missingPath);
    if (key == nullptr) {
        failure = StoreFailure("the key \"" + missingPath + "\" does not exist");
    }
    return key;
}

YProfileKey* CommandStore::OpenExisting(const KeyPath& path, std::string& missingPath) {
    CommandFailure unused;
    return OpenChain(path, false, missingPath, unused);
}

YProfileKey* CommandStore::OpenOrCreate(const KeyPath& path, CommandFailure& failure) {
    std::string unused;
    return OpenChain(path, true, unused, failure);
}

YProfileKey* CommandStore::OpenChain(const KeyPath& path, bool create, std::string& missingPath,
                                     CommandFailure& failure) {
    openedKey_.reset();
    std::unique_ptr<YProfileKey> current;
    for (std::size_t depth = 0; depth < path.names.size(); ++depth) {
        const YProfileKey& parent = current ? *current : Root();
        const YUnicodeString& name = path.names[depth];
        if (!parent.SubKeyExists(name)) {
            if (!create) {
                missingPath = JoinForDisplay(path, depth + 1);
                return nullptr;
            }
            // A configuration folder moves between platforms: a key made here must be a
            // valid folder and file name on all of them.
            if (!IsPortableKeyName(name) || IsReservedDeviceName(name)) {
                failure = UsageFailure("cannot create the key \"" + ToUtf8(name) +
                                       "\": the name is not a valid folder and file name on " +
                                       "every platform");
                return nullptr;
            }
            YRefPtr<YReportMessageParams> verdict;
            if (!parent.CheckSubKeyName(name, &verdict)) {
                failure = StoreFailure("cannot create the key \"" + ToUtf8(name) + "\": " +
                                       (verdict ? ReportText(*verdict) : "the name is too long"));
                return nullptr;
            }
        }
        auto next = std::make_unique<YProfileKey>(parent, name, create);
        if (create && !next->GetStatus().IsSuccess()) {
            failure = StoreFailure("cannot create the key \"" + JoinForDisplay(path, depth + 1) +
                                   "\": " + ReportText(next->GetStatus()));
            return nullptr;
        }
        current = std::move(next);
    }
    if (!current) {
        return &Root();
    }
    openedKey_ = std::move(current);
    return openedKey_.get();
}

}  // namespace rivode::cli
