// The built-in default mappings, made once and shared.
#pragma once

#include <RivodeRavudaVU/Keymap.h>

// The map FillDefaultMappings fills, made at the first call. Every file map copies it as its
// fallback, which costs less than filling a new map by name. Safe from any thread.
const Keymap& GetDefaultMappings();
