// Visiting the names of a key's values without ordering them, for a caller that looks for a few
// names among many and orders only what it keeps: a listing (YProfileKeyIterator) sorts every
// name of the key first.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>

#include <cstdint>
#include <functional>
#include <string_view>

#pragma GCC visibility push(default)

// Calls visit(name, kind) for every value of key, in an order of the store's own that callers
// must not rely on (the INI store: the order in which values were first read or added). The
// name is valid during the call only; visit must not change the key. A store without an order
// of its own visits in the order of its listing.
void ForEachProfileValueName(const YProfileKey& key,
                             const std::function<void(std::u16string_view name, int kind)>& visit);

// A number that two keys share only when ForEachProfileValueName visits the same names in the
// same order in both; 0 when the store cannot tell. A caller that checks every name of many keys
// of one kind can reuse what it found for the last key of the same number. The INI store knows
// it for a key read whole from one file and not changed since.
std::uint64_t GetProfileValueNamesShape(const YProfileKey& key);

#pragma GCC visibility pop
