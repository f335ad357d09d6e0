// A protocol module that declines whatever it is asked for, leaving a slot filled behind it.
#include <RivodeRavudaVU/ConnectModuleStamp.h>

namespace {

std::uint32_t PortOfAClosedModule(const ConnectProtocolEntry&) {
    return 4242;
}

}  // namespace

extern "C" [[gnu::visibility("default")]] const ConnectModuleStamp RivodeConnectModuleStamp =
    kConnectModuleStamp;

extern "C" [[gnu::visibility("default")]] bool RivodeConnectModuleInit(const YAppFnTable*,
                                                                       ConnectProtocolEntry* entry,
                                                                       YReportMessageParams*) {
    entry->functions.defaultPort = PortOfAClosedModule;
    return false;
}
