// Loading the protocol modules of a product into a given table. The public functions
// (LoadConnectionProtocolDlls and its single-product form) load into the process's table with
// the FIPS settings of the policies and the system; tests use their own table and settings.
#pragma once

#include <RivodeRavudaVU/ConnectProtocolTable.h>

#include "products/ProtocolModuleTable.h"

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
