#include "modules/ConnectModule.h"

#include "modules/ProtocolConnectConfig.h"
#include "modules/ProtocolPages.h"

#include <RivodeRavudaVU/RivodeMessages.h>

namespace rivode::modules {
namespace {

// The slots are filled only for entries the module serves; an entry renamed since then gets
// what the protocol table's default handlers give: nothing.
ConnectConfig* CreateConfig(const ConnectProtocolEntry& entry) {
    const ConnectProtocolTraits* protocol = FindConnectProtocol(entry.name);
    return protocol != nullptr ? new ProtocolConnectConfig(*protocol) : nullptr;
}

std::uint32_t DefaultPort(const ConnectProtocolEntry& entry) {
    const ConnectProtocolTraits* protocol = FindConnectProtocol(entry.name);
    return protocol != nullptr ? protocol->defaultPort : 0;
}

bool OffersSavedCredentials(const ConnectProtocolEntry& entry) {
    const ConnectProtocolTraits* protocol = FindConnectProtocol(entry.name);
    return protocol != nullptr && protocol->Keeps(kSavedCredential);
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
    functions.createPages = CreateProtocolPages;
    return true;
}

}  // namespace rivode::modules
