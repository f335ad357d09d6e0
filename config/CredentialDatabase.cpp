// The process's credential database object, its sinks, and which protocol provides saved
// credentials.
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/CredentialDatabase.h>

#include <algorithm>

namespace {

std::mutex instanceLock;
CredentialDatabase* instance = nullptr;

}  // namespace

void CredentialDatabase::RegisterSink(ISavedCredentialModificationSink* sink) {
    std::lock_guard lock(mutex_);
    if (sink != nullptr && std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) {
        sinks_.push_back(sink);
    }
}

void CredentialDatabase::UnregisterSink(ISavedCredentialModificationSink* sink) {
    std::lock_guard lock(mutex_);
    std::erase(sinks_, sink);
}

std::size_t CredentialDatabase::GetSinkCount() const {
    std::lock_guard lock(mutex_);
    return sinks_.size();
}

void CredentialDatabase::Run(int code) {
    std::lock_guard lock(mutex_);
    for (ISavedCredentialModificationSink* sink : sinks_) {
        sink->OnSavedCredentialsModified(code);
    }
}

bool GetCredentialDatabase(CredentialDatabase** out) {
    std::lock_guard lock(instanceLock);
    if (instance == nullptr) {
        instance = new CredentialDatabase();
    }
    if (out != nullptr) {
        instance->AddRef();
        *out = instance;
    }
    return true;
}

YRefPtr<CredentialDatabase> GetCredentialDatabase() {
    CredentialDatabase* database = nullptr;
    GetCredentialDatabase(&database);
    return YRefPtr<CredentialDatabase>::Adopt(database);
}

void FreeCredentialDatabase() {
    CredentialDatabase* detached = nullptr;
    {
        std::lock_guard lock(instanceLock);
        std::swap(detached, instance);
    }
    // Released outside the lock: a sink told of nothing here, but the last release deletes the
    // object, and nothing about that needs the global lock.
    if (detached != nullptr) {
        detached->Release();
    }
}

const ConnectProtocolEntry* FindSavedCredentialProvider() {
    const ConnectProtocolTable& table = GetConnectProtocolTable();
    for (std::size_t index = 0; index < table.GetCount(); ++index) {
        const ConnectProtocolEntry& entry = table.GetEntry(index);
        if (entry.functions.offersSavedCredentials(entry)) {
            return &entry;
        }
    }
    return nullptr;
}
