#include "KeyListing.h"

#include "CommandStore.h"
#include "Output.h"

namespace rivode::cli {

ExitStatus PrintKeyListing(const CommandOptions& options, bool values,
                           const ListingRowMaker& makeRow) {
    CommandStore store(options.folders, true);
    CommandFailure failure;
    const YProfileKey* key = store.OpenForReading(options.keyPath, failure);
    if (key == nullptr) {
        return Fail(failure);
    }
    nlohmann::json listing = nlohmann::json::array();
    YProfileKeyIterator entries(*key, values);
    YUnicodeString name;
    int kind = ValueKindUnknown;
    while (entries.Next(name, kind)) {
        std::optional<ListingRow> row = makeRow(*key, name, kind);
        if (!row) {
            continue;
        }
        if (options.json) {
            listing.push_back(std::move(row->json));
        } else {
            PrintLine(row->line);
        }
    }
    // A key whose file could not be read lists nothing: say so instead of an empty listing.
    if (values && !key->GetStatus().IsSuccess()) {
        return Fail(StoreFailure("the key \"" + options.keyPath +
                                 "\" cannot be read: " + ReportText(key->GetStatus())));
    }
    if (options.json) {
        PrintJson(listing);
    }
    return ExitOk;
}

}  // namespace rivode::cli
