#include <RivodeRavudaVU/Keymap.h>

#include "config/KeymapDefaults.h"

namespace {

struct DefaultMapping {
    std::uint32_t key;
    std::u16string_view function;
    std::u16string_view sendText;
};

constexpr DefaultMapping kDefaults[] = {
#define RIVODE_DEFAULT_MAPPING(key, function, sendText) {key, function, sendText},
#include "config/KeymapDefaults.inc"
#undef RIVODE_DEFAULT_MAPPING
};
static_assert(std::size(kDefaults) == 45);

}  // namespace

void FillDefaultMappings(Keymap& map) {
    for (const DefaultMapping& mapping : kDefaults) {
        map.Set({mapping.key,
                 FunctionNameToCode(mapping.function),
                 YUnicodeString(mapping.sendText),
                 {}});
    }
}

const Keymap& GetDefaultMappings() {
    static const Keymap defaults = [] {
        Keymap made;
        FillDefaultMappings(made);
        return made;
    }();
    return defaults;
}
