// The table of the session's own values, built from the one list in SessionConfigValues.inc.
#include <RivodeRavudaVU/SessionConfig.h>

#include "config/SessionLoadRules.h"
#include "config/SessionMigration.h"

namespace {

using namespace rivode::config;
using namespace rivode::rows;

// A value enciphered under its " V2" name that older versions stored as plain text.
YValueRules<SessionConfig> EncipheredFrom(std::u16string_view olderName) {
    return Upgraded(olderName, &EncipherOlderPlainText<SessionConfig>);
}

}  // namespace

const YProfileTable<SessionConfig>& SessionConfig::Table() {
    static const YProfileTable<SessionConfig> table = [] {
        YProfileTable<SessionConfig> rows;
#define RIVODE_SESSION_VALUE(Type, member, name, ...) \
    rows.Add(&SessionConfig::member, name, __VA_ARGS__);
#define RIVODE_SESSION_MARKED(Type, member, name, marks, ...) \
    rows.Add(&SessionConfig::member, name, marks, __VA_ARGS__);
#include <RivodeRavudaVU/SessionConfigValues.inc>
#undef RIVODE_SESSION_VALUE
#undef RIVODE_SESSION_MARKED
        return rows;
    }();
    return table;
}
