// The table of the session's own values, built from the one list in SessionConfigValues.inc.
#include <RivodeRavudaVU/SessionConfig.h>

const YProfileTable<SessionConfig>& SessionConfig::Table() {
    static const YProfileTable<SessionConfig> table = [] {
        YProfileTable<SessionConfig> rows;
#define RIVODE_SESSION_VALUE(Type, member, name, ...) \
    rows.Add(&SessionConfig::member, name, __VA_ARGS__);
#include <RivodeRavudaVU/SessionConfigValues.inc>
#undef RIVODE_SESSION_VALUE
        return rows;
    }();
    return table;
}
