// The registry: settings that live outside the configuration folder, in the same key paths,
// value names and kinds on every platform. Here it is an INI folder store in one of two roots:
//
//   per-user      $YARROWBY_REGISTRY when set, else $XDG_CONFIG_HOME/yarrowby/registry
//   machine-wide  /etc/yarrowby/registry, only ever read (administrators write it)
//
// A root that does not exist is an empty registry. The per-user root is created (mode 0700)
// the first time a store of it is opened for writing.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>

#include <memory>
#include <string>

#pragma GCC visibility push(default)

enum class YRegistryHive {
    CurrentUser,
    LocalMachine,
};

// The native folder of a hive's root, without a trailing separator.
std::string GetRegistryRoot(YRegistryHive hive);

// Moves the machine-wide root (tests, and hosts packaged with a private policy folder); an
// empty folder restores /etc/yarrowby/registry. Call before stores of the hive are opened.
void SetMachineRegistryRoot(std::string folder);

// A store of a hive: YProfileStore store(readOnly, &factory). The machine-wide hive gives
// read-only keys whatever the store asks for.
class YRegistryStoreFactory : public YProfileStoreFactory {
public:
    explicit YRegistryStoreFactory(YRegistryHive hive) : hive_(hive) {}
    std::unique_ptr<YProfilePrivateStore> CreatePrivateStore() override;

private:
    YRegistryHive hive_;
};

#pragma GCC visibility pop
