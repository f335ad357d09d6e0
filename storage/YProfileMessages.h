// The reports of typed values. Both ids belong to the host's message table (facility 0x104).
#pragma once

#include <cstdint>

namespace rivode::profile_messages {

// "%1" cannot take the given value: the variant does not convert to the value's type.
inline constexpr std::uint32_t kVariantConversionFailed = 0xE104006B;
// "%1" does not offer the asked form (text or number).
inline constexpr std::uint32_t kVariantFormUnsupported = 0xE104006A;

}  // namespace rivode::profile_messages
