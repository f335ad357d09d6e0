// Values read from and written to a key, whatever their kind.
#pragma once

#include "ValueData.h"

#include <RivodeRavudaVU/YProfileStore.h>

#include <string_view>

namespace rivode::cli {

// The kind of the value of that exact name; false when the key holds no such value.
[[nodiscard]] bool FindValueKind(const YProfileKey& key, std::u16string_view name, int& kind);
// Reads a value of a known kind 0-3; false when it is absent, of another kind, or unreadable.
[[nodiscard]] bool ReadValue(const YProfileKey& key, std::u16string_view name, int kind,
                             ValueData& value);
// Replaces the value in the key's table; the key stores it when flushed.
[[nodiscard]] bool WriteValue(const YProfileKey& key, std::u16string_view name,
                              const ValueData& value);

}  // namespace rivode::cli
