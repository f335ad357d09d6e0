// The two symbols a module exports: the stamp of the headers it was built against, which the
// loader checks before anything else, and the entry function. Every module is built from the
// same sources; this file is compiled once per module with RIVODE_CONNECT_MODULE_FILE naming the
// module's file, which decides the protocols it serves.
#include "modules/ConnectModule.h"

#include <RivodeRavudaVU/ConnectModuleStamp.h>

#include <type_traits>

#ifndef RIVODE_CONNECT_MODULE_FILE
#error "RIVODE_CONNECT_MODULE_FILE must name the module file (u\"SSH2\")"
#endif

extern "C" [[gnu::visibility("default")]] const ConnectModuleStamp RivodeConnectModuleStamp =
    kConnectModuleStamp;

extern "C" [[gnu::visibility("default")]] bool RivodeConnectModuleInit(
    const YAppFnTable* table, ConnectProtocolEntry* entry, YReportMessageParams* report) {
    return rivode::modules::InitConnectModule(RIVODE_CONNECT_MODULE_FILE, entry, report);
}

static_assert(std::is_same_v<decltype(&RivodeConnectModuleInit), ConnectModuleEntryFunction>,
              "the entry function must have the signature the loader calls");
