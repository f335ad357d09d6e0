#include <RivodeRavudaVU/GlobalGuiConfig.h>

const YProfileTable<GlobalGuiConfig>& GlobalGuiConfig::Table() {
    static const auto table = YProfileTable<GlobalGuiConfig>().Add(
        &GlobalGuiConfig::colorSchemes, u"Color Schemes", rivode::rows::BuiltInUntilEdited, {});
    return table;
}
