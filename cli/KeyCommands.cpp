// keys, delete-key: the subkeys of a key.
#include "CommandStore.h"
#include "Commands.h"
#include "KeyListing.h"
#include "Output.h"
#include "ValueFormat.h"

namespace rivode::cli {

ExitStatus RunKeys(const CommandOptions& options) {
    return PrintKeyListing(
        options, false,
        [](const YProfileKey&, const YUnicodeString& name, int kind) -> std::optional<ListingRow> {
            if (!IsSubKeyKind(kind)) {
                return std::nullopt;
            }
            return ListingRow{{{"name", ToUtf8(name)}, {"kind", SubKeyKindWord(kind)}},
                              ToUtf8(name)};
        });
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
        return Fail(StoreFailure(
            "cannot delete the key \"" + path.ToDisplayText() +
            "\": " + ReportText(parent->GetStatus(), "its folder could not be removed")));
    }
    return ExitOk;
}

}  // namespace rivode::cli
