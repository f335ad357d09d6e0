#include <RivodeRavudaVU/ConnectProtocolModules.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include "products/ProtocolModuleLoading.h"

#include <algorithm>

std::vector<ConnectProtocolModuleState> GetConnectProtocolModules(int product,
                                                                  const YUnicodeString& folder) {
    std::vector<int> products{product};
    if (IsIntegrated(product)) {
        products.push_back(product == 3 ? 6 : 3);
    }
    const FipsSettings fips = GetFipsSettings(product);
    const ConnectProtocolTable& table = GetConnectProtocolTable();
    std::vector<ConnectProtocolModuleState> states;
    // Product by product, as loading goes: the sibling's rows come after all of the product's.
    for (const int rowProduct : products) {
        for (const ProtocolModuleRow& row : GetProtocolModuleRows()) {
            if (row.product != rowProduct) {
                continue;
            }
            ConnectProtocolModuleState state;
            state.product = row.product;
            state.name = row.name;
            state.displayName = row.displayName;
            state.allowed = IsProtocolAllowed(row, fips);
            if (const ConnectProtocolEntry* entry = FindLoadedEntry(table, row)) {
                state.loaded = true;
                state.modulePath = entry->modulePath;
            } else {
                state.modulePath = GetModulePath(row, folder);
            }
            states.push_back(std::move(state));
        }
    }
    return states;
}
