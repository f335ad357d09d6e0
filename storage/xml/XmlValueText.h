// The text of dword and binary values in the XML settings file: a dword as unsigned decimal,
// a binary as two lower-case hexadecimal digits a byte, separated by single spaces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rivode::storage {

std::string XmlDwordText(std::uint32_t value);
// Decimal digits, white space around them allowed; false for anything else or a number
// above 0xFFFFFFFF.
[[nodiscard]] bool ParseXmlDwordText(std::string_view text, std::uint32_t& value);

std::string XmlBinaryText(const std::uint8_t* bytes, std::size_t count);
// Pairs of hexadecimal digits of either case, with any white space between pairs; false (bytes
// unspecified) for an odd digit or any other character.
[[nodiscard]] bool ParseXmlBinaryText(std::string_view text, std::vector<std::uint8_t>& bytes);

}  // namespace rivode::storage
