#include <RivodeRavudaVU/TerminalConfig.h>

TerminalConfig::TerminalConfig() {
    Init(nullptr);
}

const YProfileTable<TerminalConfig>& TerminalConfig::Table() {
    static const YProfileTable<TerminalConfig> table = [] {
        YProfileTable<TerminalConfig> rows;
#define RIVODE_TERMINAL_VALUE(Type, member, name, ...) \
    rows.Add(&TerminalConfig::member, name, __VA_ARGS__);
#define RIVODE_TERMINAL_RENAMED(Type, member, name, olderName, ...) \
    rows.AddRenamed(&TerminalConfig::member, name, olderName, __VA_ARGS__);
#include <RivodeRavudaVU/TerminalConfigValues.inc>
#undef RIVODE_TERMINAL_VALUE
#undef RIVODE_TERMINAL_RENAMED
        return rows;
    }();
    return table;
}

void TerminalConfig::AfterLoad() {}
