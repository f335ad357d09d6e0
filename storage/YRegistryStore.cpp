#include <RivodeRavudaVU/YRegistryStore.h>

#include "platform/Environment.h"
#include "storage/ini/IniFolderTree.h"
#include "storage/ini/YIniFileStore.h"

#include <mutex>
#include <new>

namespace {

constexpr const char* kDefaultMachineRoot = "/etc/yarrowby/registry";
constexpr unsigned kUserRootMode = 0700;

std::mutex machineRootMutex;
std::string machineRoot = kDefaultMachineRoot;

class YRegistryStore final : public YProfilePrivateStore {
public:
    YRegistryStore(YRegistryHive hive, std::string root)
        : hive_(hive), root_(root), store_(std::move(root), {}) {}

    std::unique_ptr<YProfilePrivateKey> OpenPrivateRootKey(bool readOnly) override {
        if (hive_ == YRegistryHive::LocalMachine) {
            readOnly = true;
        } else if (!readOnly) {
            // A failure shows when the key stores its first value, with the reason.
            (void)rivode::storage::CreateFolderWithParents(root_, kUserRootMode);
        }
        return store_.OpenPrivateRootKey(readOnly);
    }

private:
    YRegistryHive hive_;
    std::string root_;
    YIniFileStore store_;
};

std::string WithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

std::string GetUserRegistryRoot() {
    if (const auto moved = rivode::platform::GetEnvironmentVariable("YARROWBY_REGISTRY");
        moved && !moved->empty()) {
        return *moved;
    }
    return rivode::platform::GetUserConfigFolder() + "/yarrowby/registry";
}

}  // namespace

std::string GetRegistryRoot(YRegistryHive hive) {
    if (hive == YRegistryHive::LocalMachine) {
        std::lock_guard lock(machineRootMutex);
        return machineRoot;
    }
    return WithoutTrailingSeparator(GetUserRegistryRoot());
}

void SetMachineRegistryRoot(std::string folder) {
    std::lock_guard lock(machineRootMutex);
    machineRoot =
        folder.empty() ? kDefaultMachineRoot : WithoutTrailingSeparator(std::move(folder));
}

std::unique_ptr<YProfilePrivateStore> YRegistryStoreFactory::CreatePrivateStore() {
    return std::unique_ptr<YProfilePrivateStore>(new (std::nothrow)
                                                     YRegistryStore(hive_, GetRegistryRoot(hive_)));
}
