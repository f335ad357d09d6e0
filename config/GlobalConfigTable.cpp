// The table of the global values, built from the one list in GlobalConfigValues.inc.
#include <RivodeRavudaVU/GlobalConfig.h>

const YProfileTable<GlobalConfig>& GlobalConfig::Table() {
    static const YProfileTable<GlobalConfig> table = [] {
        YProfileTable<GlobalConfig> rows;
#define RIVODE_GLOBAL_VALUE(Type, member, name, ...) \
    rows.Add(&GlobalConfig::member, name, __VA_ARGS__);
#define RIVODE_GLOBAL_RENAMED(Type, member, name, olderName, ...) \
    rows.AddRenamed(&GlobalConfig::member, name, olderName, __VA_ARGS__);
#define RIVODE_GLOBAL_RECORD(Type, member) rows.AddRecord(&GlobalConfig::member);
#include <RivodeRavudaVU/GlobalConfigValues.inc>
#undef RIVODE_GLOBAL_VALUE
#undef RIVODE_GLOBAL_RENAMED
#undef RIVODE_GLOBAL_RECORD
        return rows;
    }();
    return table;
}
