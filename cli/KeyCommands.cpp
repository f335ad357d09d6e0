// keys, delete-key: the subkeys of a key.
#include "cli/CommandStore.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/ValueFormat.h"

namespace rivode::cli {

ExitStatus RunKeys(const CommandOptions& options) {
    CommandStore store(options.folders, true);
    CommandFailure failure;
    const YProfileKey* key = store.OpenForReading(options.keyPath, failure);
    if (key == nullptr) {
        return Fail(failure);
    }
    nlohmann::json listing = nlohmann::json::array();
    YProfileKeyIterator subKeys(*key, false);
    YUnicodeString name;
    int kind = ValueKindUnknown;
    while (subKeys.Next(name, kind)) {
        if (!IsSubKeyKind(kind)) {
            continue;
        }
        if (options.json) {
            listing.push_back({{"name", ToUtf8(name)}, {"kind", SubKeyKindWord(kind)}});
        } else {
            PrintLine(ToUtf8(name));
        }
    }
    if (options.json) {
        PrintJson(listing);
    }
    return ExitOk;
}

ExitStatus RunDeleteKey(const CommandOptions& options) {
    KeyPath path;
    std::string problem;
    if (!ParseKeyPath(options.keyPath, path, problem)) {
        return Fail(UsageFailure(problem));
    }
    if (path.IsRoot()) {
        return Fail(
            UsageFailure("delete-key needs the path of a key: the root key is the "
                         "configuration folder itself and cannot be deleted"));
    }
    KeyPath parentPath = path;
    const YUnicodeString name = std::move(parentPath.names.back());
    parentPath.names.pop_back();

    CommandStore store(options.folders, false);
    std::string missingPath;
    const YProfileKey* parent = store.OpenExisting(parentPath, missingPath);
    // A key that does not exist is as deleted as the command can make it.
    if (parent == nullptr || !parent->SubKeyExists(name)) {
        return ExitOk;
    }
    if (!parent->DeleteSubKey(name)) {
        return Fail(StoreFailure("cannot delete the key \"" + path.ToDisplayText() +
                                 "\": " + ReportText(parent->GetStatus())));
    }
    return ExitOk;
}

}  // namespace rivode::cli
