#include <RivodeRavudaVU/YProfileValueNames.h>

#include "storage/ini/YIniFileKey.h"

void ForEachProfileValueName(const YProfileKey& key,
                             const std::function<void(std::u16string_view name, int kind)>& visit) {
    if (auto* iniKey = dynamic_cast<YIniFileKey*>(&key.GetPrivateKey())) {
        iniKey->ForEachValueName(visit);
        return;
    }
    YProfileKeyIterator values(key, true);
    YUnicodeString name;
    int kind = ValueKindUnknown;
    while (values.Next(name, kind)) {
        visit(name, kind);
    }
}

std::uint64_t GetProfileValueNamesShape(const YProfileKey& key) {
    auto* iniKey = dynamic_cast<YIniFileKey*>(&key.GetPrivateKey());
    return iniKey != nullptr ? iniKey->GetValueNamesShape() : 0;
}
