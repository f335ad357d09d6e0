// GlobalGuiConfig: the global values only a host with a user interface keeps, stored in the key
// "Global" beside the main values.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileTable.h>

class GlobalGuiConfig : public YProfileTableRecord<GlobalGuiConfig> {
public:
    // The user's color schemes, one scheme a line in the stored form of the color records.
    YProfileStringList colorSchemes;

    static const YProfileTable<GlobalGuiConfig>& Table();
};
