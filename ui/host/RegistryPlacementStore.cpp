#include "RegistryPlacementStore.h"

#include "GuiHostSetup.h"

#include <RivodeRavudaVU/YRegistryStore.h>

#include <vector>

namespace rivode::ui {
namespace {

YUnicodeString PlacementKeyPath() {
    return u"Software\\Yarrowby\\" + YUnicodeString(kGuiAppName) + u"\\Window Placement";
}

// Far more than any window system's saved geometry; a larger value is not one of ours.
constexpr std::uint32_t kLargestPlacement = 4096;

}  // namespace

bool RegistryPlacementStore::LoadPlacement(const YUnicodeString& name, std::string& placement) {
    YRegistryStoreFactory factory(YRegistryHive::CurrentUser);
    YProfileStore store(true, &factory);
    const YProfileKey key(store.GetRootKey(), PlacementKeyPath());
    std::uint32_t size = 0;
    if (!key.GetBinary(name, nullptr, size) || size > kLargestPlacement) {
        return false;
    }
    std::vector<char> bytes(size);
    if (!key.GetBinary(name, bytes.data(), size)) {
        return false;
    }
    placement.assign(bytes.data(), size);
    return true;
}

void RegistryPlacementStore::SavePlacement(const YUnicodeString& name,
                                           const std::string& placement) {
    if (placement.size() > kLargestPlacement) {
        return;
    }
    YRegistryStoreFactory factory(YRegistryHive::CurrentUser);
    YProfileStore store(false, &factory);
    const YProfileKey key(store.GetRootKey(), PlacementKeyPath(), true);
    if (key.SetBinary(name, placement.data(), static_cast<std::uint32_t>(placement.size()))) {
        (void)key.Flush();
    }
}

}  // namespace rivode::ui
