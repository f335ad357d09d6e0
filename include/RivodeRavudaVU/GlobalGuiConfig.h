// GlobalGuiConfig: the global values only a host with a user interface keeps, stored in the key
// "Global" beside the main values.
#pragma once

#include <RivodeRavudaVU/ProfileColorLists.h>
#include <RivodeRavudaVU/YProfileTable.h>

#pragma GCC visibility push(default)

class GlobalGuiConfig : public YProfileTableRecord<GlobalGuiConfig> {
public:
    // The color schemes, one a line (the built-ins while none are stored).
    ProfileColorSchemeListV2 colorSchemes;

    static const YProfileTable<GlobalGuiConfig>& Table();
};

#pragma GCC visibility pop
