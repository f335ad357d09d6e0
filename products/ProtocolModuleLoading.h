// Loading the protocol modules of a product into a given table. The public functions
// (LoadConnectionProtocolDlls and its single-product form) load into the process's table with
// the FIPS settings of the policies and the system; tests use their own table and settings.
#pragma once

#include <RivodeRavudaVU/ConnectProtocolTable.h>

#include "products/ProtocolModuleTable.h"

// The table's entry of the row (same product and protocol name); nullptr when it has none.
const ConnectProtocolEntry* FindLoadedEntry(const ConnectProtocolTable& protocols,
                                            const ProtocolModuleRow& row);

// The file of the row's module in folder.
YUnicodeString GetModulePath(const ProtocolModuleRow& row, const YUnicodeString& folder);

// The FIPS settings that apply to product now.
FipsSettings GetFipsSettings(int product);

[[nodiscard]] bool LoadProductModules(ConnectProtocolTable& protocols, const YAppFnTable& table,
                                      int product, const YUnicodeString& folder,
                                      const FipsSettings& fips, YReportMessageParams& report);

// The product's modules and, when the product runs integrated, its sibling's.
[[nodiscard]] bool LoadProductAndSiblingModules(ConnectProtocolTable& protocols,
                                                const YAppFnTable& table, int product,
                                                const YUnicodeString& folder,
                                                const FipsSettings& fips,
                                                YReportMessageParams& report);
