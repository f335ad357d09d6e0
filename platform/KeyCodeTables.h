// The virtual key each physical key stands for by its position on a PC keyboard, whatever the
// layout types there. The layouts start from it.
#pragma once

#include <cstdint>

namespace rivode::platform {

// 0 for a set-1 code that is no key.
std::uint32_t PositionVirtualKey(std::uint32_t scanCode, bool extended);

}  // namespace rivode::platform
