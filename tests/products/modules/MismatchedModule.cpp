// A protocol module left behind by another build: its stamp is not the library's (or, built
// with RIVODE_TEST_UNSTAMPED, it has none). Its entry function must never run: it ends the
// process, as a module writing through another layout would.
#include <RivodeRavudaVU/ConnectModuleStamp.h>

#include <cstdlib>

#ifndef RIVODE_TEST_UNSTAMPED
extern "C" [[gnu::visibility("default")]] const ConnectModuleStamp RivodeConnectModuleStamp = {
    kConnectModuleStamp.interfaceVersion, kConnectModuleStamp.layout ^ 0x5au};
#endif

extern "C" [[gnu::visibility("default")]] bool RivodeConnectModuleInit(const YAppFnTable*,
                                                                       ConnectProtocolEntry*,
                                                                       YReportMessageParams*) {
    std::abort();
}
