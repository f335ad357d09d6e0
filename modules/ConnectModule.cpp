#include "modules/ConnectModule.h"

#include "modules/ProtocolConnectConfig.h"

#include <RivodeRavudaVU/RivodeMessages.h>

namespace rivode::modules {
namespace {

// The slots are only filled for entries the module serves, so the protocol is always found.
const ConnectProtocolTraits& ProtocolOf(const ConnectProtocolEntry& entry) {
    return *FindConnectProtocol(entry.name);
}

ConnectConfig* CreateConfig(const ConnectProtocolEntry& entry) {
    return new ProtocolConnectConfig(ProtocolOf(entry));
}

std::uint32_t DefaultPort(const ConnectProtocolEntry& entry) {
    return ProtocolOf(entry).defaultPort;
}

bool OffersSavedCredentials(const ConnectProtocolEntry& entry) {
    return ProtocolOf(entry).Keeps(kSavedCredential);
}

// Configurations hold no module resources beyond their own memory, which they free with their
// last reference, so there is nothing to release before the module is closed.
void Unload(ConnectProtocolEntry&) {}

}  // namespace

bool InitConnectModule(std::u16string_view moduleFile, ConnectProtocolEntry* entry,
                       YReportMessageParams* report) {
    const ConnectProtocolTraits* protocol =
        entry != nullptr ? FindConnectProtocol(entry->name) : nullptr;
    if (protocol == nullptr || protocol->moduleFile != moduleFile) {
        if (report != nullptr) {
            report->SetMessage(msg::ProtocolNotAvailable);
            report->AddString(entry != nullptr ? entry->name : YUnicodeString());
        }
        return false;
    }
    ConnectProtocolFunctions& functions = entry->functions;
    functions.createConfig = CreateConfig;
    functions.defaultPort = DefaultPort;
    functions.offersSavedCredentials = OffersSavedCredentials;
    functions.unload = Unload;
    return true;
}

}  // namespace rivode::modules
