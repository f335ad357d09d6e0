#include <RivodeRavudaVU/ConnectProtocolTable.h>

#include "platform/DynamicLibrary.h"

#include <stdexcept>

namespace {

ConnectConfig* CreateNoConfig(const ConnectProtocolEntry&) {
    return nullptr;
}
std::uint32_t NoPort(const ConnectProtocolEntry&) {
    return 0;
}
bool NoSavedCredentials(const ConnectProtocolEntry&) {
    return false;
}
void IgnoreEntry(const ConnectProtocolEntry&) {}
void NothingToUnload(ConnectProtocolEntry&) {}
IProtocolPages* NoPages(const ConnectProtocolEntry&, YPropertyTreeDialog&, int, ISessionConfig&,
                        int, YPropertyTreePage&) {
    return nullptr;
}
void ReservedSlot() {}

}  // namespace

ConnectProtocolFunctions GetDefaultConnectProtocolFunctions() {
    ConnectProtocolFunctions functions{};
    functions.createConfig = CreateNoConfig;
    functions.defaultPort = NoPort;
    functions.offersSavedCredentials = NoSavedCredentials;
    functions.siblingProtocolsLoaded = IgnoreEntry;
    functions.unload = NothingToUnload;
    functions.createPages = NoPages;
    functions.reserved.fill(ReservedSlot);
    return functions;
}

std::size_t ConnectProtocolTable::GetCount() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

const ConnectProtocolEntry& ConnectProtocolTable::GetEntry(std::size_t index) const {
    std::lock_guard lock(mutex_);
    return entries_.at(index);
}

const ConnectProtocolEntry* ConnectProtocolTable::Find(const YUnicodeString& name) const {
    std::lock_guard lock(mutex_);
    for (const ConnectProtocolEntry& entry : entries_) {
        if (rivode::EqualsNoCase(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

ConnectConfigPtr ConnectProtocolTable::CreateConfig(const YUnicodeString& name) const {
    const ConnectProtocolEntry* entry = Find(name);
    if (entry == nullptr) {
        return {};
    }
    return ConnectConfigPtr::Adopt(entry->functions.createConfig(*entry));
}

ConnectProtocolEntry& ConnectProtocolTable::Add(ConnectProtocolEntry entry) {
    std::lock_guard lock(mutex_);
    return entries_.emplace_back(std::move(entry));
}

void ConnectProtocolTable::Truncate(std::size_t count) {
    std::lock_guard lock(mutex_);
    if (count < entries_.size()) {
        entries_.resize(count);
    }
}

ConnectProtocolTable& GetConnectProtocolTable() {
    // A function-local static is initialised once even when several threads ask first.
    static ConnectProtocolTable table;
    return table;
}

YUnicodeString GetDefaultConnectModuleFolder() {
    const std::string library = rivode::platform::GetBinaryFolder(
        reinterpret_cast<const void*>(&GetDefaultConnectModuleFolder));
    return rivode::FromUtf8(library + "/rivoderavudavu/modules");
}
