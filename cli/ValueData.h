// A stored value held by the command: one alternative per value kind, in ValueKind order, so
// index() is the kind the store reports.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <variant>
#include <vector>

namespace rivode::cli {

using ByteBlock = std::vector<std::uint8_t>;
using ValueData = std::variant<std::uint32_t, YUnicodeString, ByteBlock, YStringArray>;

static_assert(std::is_same_v<std::variant_alternative_t<ValueKindDword, ValueData>, std::uint32_t>);
static_assert(
    std::is_same_v<std::variant_alternative_t<ValueKindString, ValueData>, YUnicodeString>);
static_assert(std::is_same_v<std::variant_alternative_t<ValueKindBinary, ValueData>, ByteBlock>);
static_assert(
    std::is_same_v<std::variant_alternative_t<ValueKindMultiString, ValueData>, YStringArray>);

inline int KindOf(const ValueData& value) {
    return static_cast<int>(value.index());
}

}  // namespace rivode::cli
