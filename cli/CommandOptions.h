// What the command line asked for, as typed; each command checks the parts it uses.
#pragma once

#include "ConfigFolder.h"

#include <RivodeRavudaVU/ProductNumbers.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <string>
#include <vector>

namespace rivode::cli {

struct CommandOptions {
    StoreFolders folders;
    // The product rivode works as (a YProductNumber): it decides the product-specific global
    // values and the protocol modules.
    int product = kProductQuillterm;
    bool json = false;
    std::string keyPath;
    std::string valueName;
};

// The new value of `set`: the kind its option chose and the text or items that followed it.
struct ValueArgument {
    int kind = ValueKindUnknown;
    std::string text;                // --dword, --string, --binary
    std::vector<std::string> items;  // --multi
};

}  // namespace rivode::cli
