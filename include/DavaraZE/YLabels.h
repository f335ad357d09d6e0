// Labels the companion library supplies to dialogs, in the user's language (YMessageStrings.h).
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>

#pragma GCC visibility push(default)

// The function types of the key editor's "Function" list: send string, menu, scroll bar,
// Telnet, TN3270, VT and SSH functions, set button bar, run script, launch application,
// disable, in that order. An index at or beyond the size gives an empty text.
std::size_t GetMappedFunctionTypesSize();
YUnicodeString GetMappedFunctionType(std::size_t index);

// The entries that firewall lists end with: pick a session as the firewall, make a new one.
YUnicodeString GetSelectSessionLabel();
YUnicodeString GetNewFirewallLabel();

#pragma GCC visibility pop
