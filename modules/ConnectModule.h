// What every reference module does when the host loads it for a protocol-table entry.
#pragma once

#include <RivodeRavudaVU/ConnectProtocolTable.h>

#include <string_view>

namespace rivode::modules {

// Fills entry->functions when moduleFile (without ".so") serves entry->name. Otherwise fills
// report (when given) with 0xE137000B naming the protocol and returns false, leaving the entry
// as it was.
[[nodiscard]] bool InitConnectModule(std::u16string_view moduleFile, ConnectProtocolEntry* entry,
                                     YReportMessageParams* report);

}  // namespace rivode::modules
