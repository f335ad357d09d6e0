// The process's shared global record. The singleton lock guards only the pointer: creating,
// replacing and detaching it and taking references. Saving and merging run on a reference taken
// under the lock and released afterwards, so a long save never blocks GetGlobalConfig.
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include "products/HostProduct.h"

namespace {

std::mutex g_singletonLock;
// Atomic because GetGlobalConfigObsolete reads it without the lock.
std::atomic<GlobalConfig*> g_shared{nullptr};

GlobalConfig* CreateFromStore() {
    const int product = GetHostProduct();
    const bool withUserInterface = (GetHostInitFlags() & kHostInitNoUserInterface) == 0;
    YProfileStore store;
    const YProfileKey key(store.GetRootKey(), kGlobalKeyName);
    return new GlobalConfig(&key, product, IsIntegrated(product), withUserInterface);
}

// The shared record, created when there is none; the caller holds the lock.
GlobalConfig* SharedLocked() {
    if (g_shared.load() == nullptr) {
        g_shared = CreateFromStore();
    }
    return g_shared;
}

YRefPtr<GlobalConfig> TakeShared() {
    const std::lock_guard lock(g_singletonLock);
    return YRefPtr<GlobalConfig>::Share(SharedLocked());
}

}  // namespace

bool GetGlobalConfig(GlobalConfig** out) {
    const std::lock_guard lock(g_singletonLock);
    GlobalConfig* shared = SharedLocked();
    if (out != nullptr) {
        shared->AddRef();
        *out = shared;
    }
    return shared != nullptr;
}

YRefPtr<GlobalConfig> GetGlobalConfig() {
    return TakeShared();
}

void GetGlobalConfigObsolete(GlobalConfig*& out) {
    GlobalConfig* shared = g_shared.load();
    if (shared == nullptr) {
        // Without the lock two callers may both create one: the loser releases its own.
        GlobalConfig* created = CreateFromStore();
        if (g_shared.compare_exchange_strong(shared, created)) {
            shared = created;
        } else {
            created->Release();
        }
    }
    out = shared;
}

void SaveGlobalConfig() {
    YReportMessageParams ignored;
    static_cast<void>(SaveGlobalConfig(ignored));
}

bool SaveGlobalConfig(YReportMessageParams& report) {
    return TakeShared()->SaveToStore(report);
}

void ReloadGlobalConfig(GlobalConfig** out) {
    const std::lock_guard lock(g_singletonLock);
    const YRefPtr<GlobalConfig> old =
        YRefPtr<GlobalConfig>::Adopt(g_shared.exchange(CreateFromStore()));
    if (out != nullptr) {
        GlobalConfig* shared = g_shared;
        shared->AddRef();
        *out = shared;
    }
}

YRefPtr<GlobalConfig> ReloadGlobalConfig() {
    GlobalConfig* reloaded = nullptr;
    ReloadGlobalConfig(&reloaded);
    return YRefPtr<GlobalConfig>::Adopt(reloaded);
}

void FreeGlobalConfig() {
    const std::lock_guard lock(g_singletonLock);
    YRefPtr<GlobalConfig>::Adopt(g_shared.exchange(nullptr));
}

void MergeGlobalConfig(const YProfileKey& key) {
    TakeShared()->Merge(key);
}
