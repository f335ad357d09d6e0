// The listing commands (keys, values): one line per entry of a key, or with --json one array.
#pragma once

#include "CommandOptions.h"
#include "ExitStatus.h"

#include <RivodeRavudaVU/YProfileStore.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <optional>
#include <string>

namespace rivode::cli {

struct ListingRow {
    nlohmann::json json;  // the entry as an element of the --json array
    std::string line;     // the entry as a line of text
};

// Makes the row of one entry, or nothing to leave the entry out.
using ListingRowMaker = std::function<std::optional<ListingRow>(
    const YProfileKey& key, const YUnicodeString& name, int kind)>;

// Opens the command's key for reading and prints a row for each of its values (values true) or
// subkeys.
ExitStatus PrintKeyListing(const CommandOptions& options, bool values,
                           const ListingRowMaker& makeRow);

}  // namespace rivode::cli
