// Values and value names as users type them. Every parser refuses with a problem text that says
// what is wrong; a refusal is a usage error, so nothing is stored.
#pragma once

#include "ValueData.h"

#include <string>
#include <string_view>
#include <vector>

namespace rivode::cli {

// Decimal, or hexadecimal after "0x"/"0X"; nothing else (no sign, no blanks), at most 0xffffffff.
[[nodiscard]] bool ParseDwordText(std::string_view text, std::uint32_t& value,
                                  std::string& problem);
// Hexadecimal digits, either case, optionally in blank-separated groups; every group holds whole
// bytes ("00ff 1a", "00 ff 1a"). Empty text is an empty block.
[[nodiscard]] bool ParseHexBytes(std::string_view text, ByteBlock& bytes, std::string& problem);
// A string value or multi-string item: UTF-8 without a line break, since the stored format
// keeps each text on one line.
[[nodiscard]] bool ParseValueText(std::string_view text, YUnicodeString& value,
                                  std::string& problem);
// A value name: UTF-8, not empty, without a double quote or a line break (the stored format
// cannot hold them, and a value with an empty name is dropped when read back).
[[nodiscard]] bool ParseValueName(std::string_view text, YUnicodeString& name,
                                  std::string& problem);

}  // namespace rivode::cli
