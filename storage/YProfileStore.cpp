#include <RivodeRavudaVU/YProfileStore.h>

#include "storage/UnavailableProfileKey.h"

#include <atomic>

namespace {

std::atomic<YProfileStoreFactoryFunction> registeredFactoryFunction{nullptr};

}  // namespace

void SetProfileStoreFactoryFunction(YProfileStoreFactoryFunction function) {
    registeredFactoryFunction.store(function, std::memory_order_release);
}

YProfileStoreFactory* GetDefaultProfileStoreFactory() {
    const YProfileStoreFactoryFunction function =
        registeredFactoryFunction.load(std::memory_order_acquire);
    return function != nullptr ? function() : nullptr;
}

YProfileStore::YProfileStore(YProfileStoreFactory* factory) : YProfileStore(false, factory) {}

YProfileStore::YProfileStore(bool readOnly, YProfileStoreFactory* factory) : readOnly_(readOnly) {
    if (factory == nullptr) {
        factory = GetDefaultProfileStoreFactory();
    }
    if (factory != nullptr) {
        store_ = factory->CreatePrivateStore();
    }
    rootKey_ = std::make_unique<YProfileKey>(*this);
}

YProfileStore::~YProfileStore() {
    store_.reset();
    rootKey_.reset();
}

std::unique_ptr<YProfilePrivateKey> YProfileStore::OpenPrivateRootKey() const {
    return store_ ? store_->OpenPrivateRootKey(readOnly_) : nullptr;
}
