// The names of the terminal emulations the host offers, in the order lists show them.
//
// The table depends on the host product: the older terminal product (1) has no server
// emulation "Brackenhold", every other product has it. The host builds the table at
// initialisation; until then it is the terminal product's (3).
//
// Thread safety: BuildEmulationNameTables runs on the host's thread at initialisation; the
// readers may run on any thread at any time. A reference returned by GetEmulationNames stays
// valid for the life of the process, also across later builds.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

// Selects the emulation names of product.
void BuildEmulationNameTables(int product);

// The host's emulation names, in order.
const std::vector<YUnicodeString>& GetEmulationNames();

// Whether name is one of the host's emulations, letter case included ("xterm" is not).
bool IsEmulationName(std::u16string_view name);

#pragma GCC visibility pop
