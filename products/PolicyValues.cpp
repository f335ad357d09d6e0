#include "products/PolicyValues.h"

#include <RivodeRavudaVU/SiblingProducts.h>
#include <RivodeRavudaVU/YRegistryStore.h>

#include <array>

namespace {

constexpr std::u16string_view kPolicyKeyPath = u"Software\\Policies\\Yarrowby";

// The product's own key: named as administrators know the products, the older terminal product
// by its executable's name since it has no display name.
YUnicodeString GetProductKeyPath(int product) {
    const YUnicodeString name = product == kProductQtm ? u"QTM" : GetProductDisplayName(product);
    return name.empty() ? name : u"Software\\Yarrowby\\" + name;
}

bool ReadDword(YRegistryHive hive, std::u16string_view keyPath, std::u16string_view name,
               std::uint32_t& value) {
    if (keyPath.empty()) {
        return false;
    }
    YRegistryStoreFactory factory(hive);
    YProfileStore store(true, &factory);
    const YProfileKey key(store.GetRootKey(), keyPath);
    return key.GetDword(name, value);
}

}  // namespace

bool GetPolicyDword(int product, std::u16string_view name, std::uint32_t& value) {
    const YUnicodeString productKeyPath = GetProductKeyPath(product);
    const std::array<std::pair<YRegistryHive, std::u16string_view>, 4> places{{
        {YRegistryHive::LocalMachine, kPolicyKeyPath},
        {YRegistryHive::CurrentUser, kPolicyKeyPath},
        {YRegistryHive::LocalMachine, productKeyPath},
        {YRegistryHive::CurrentUser, productKeyPath},
    }};
    for (const auto& [hive, keyPath] : places) {
        if (ReadDword(hive, keyPath, name, value)) {
            return true;
        }
    }
    return false;
}

bool IsPolicyEnabled(int product, std::u16string_view name) {
    std::uint32_t value = 0;
    return GetPolicyDword(product, name, value) && value != 0;
}
