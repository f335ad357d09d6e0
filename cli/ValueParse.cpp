#include "ValueParse.h"

#include <RivodeRavudaVU/HexDigits.h>

#include <algorithm>
#include <charconv>
#include <limits>

namespace rivode::cli {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool HoldsLineBreak(std::u16string_view text) {
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

}  // namespace

bool ParseDwordText(std::string_view text, std::uint32_t& value, std::string& problem) {
    int base = 10;
    std::string_view digits = text;
    if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    // from_chars alone would accept a leading '-' and stop quietly at trailing garbage.
    const bool allDigits =
        !digits.empty() && std::all_of(digits.begin(), digits.end(), [&](char c) {
            return base == 16 ? HexDigitValue(c) >= 0 : (c >= '0' && c <= '9');
        });
    if (!allDigits) {
        problem = "\"" + std::string(text) +
                  "\" is not a dword: give a decimal number or a hexadecimal one after 0x";
        return false;
    }
    std::uint64_t number = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number, base);
    if (result.ec != std::errc() || number > std::numeric_limits<std::uint32_t>::max()) {
        problem = "\"" + std::string(text) + "\" is out of the range of a dword (0 to 4294967295)";
        return false;
    }
    value = static_cast<std::uint32_t>(number);
    return true;
}

bool ParseHexBytes(std::string_view text, ByteBlock& bytes, std::string& problem) {
    bytes.clear();
    bytes.reserve(text.size() / 2);
    std::size_t position = 0;
    while (position < text.size()) {
        if (IsBlank(text[position])) {
            ++position;
            continue;
        }
        std::size_t groupEnd = position;
        while (groupEnd < text.size() && !IsBlank(text[groupEnd])) {
            ++groupEnd;
        }
        const std::string_view group = text.substr(position, groupEnd - position);
        for (char c : group) {
            if (HexDigitValue(c) < 0) {
                problem = "\"" + std::string(group) + "\" is not hexadecimal: give bytes as " +
                          "two hexadecimal digits each, such as 00 ff 1a";
                return false;
            }
        }
        if (group.size() % 2 != 0) {
            problem = "\"" + std::string(group) +
                      "\" has an odd number of hexadecimal digits: give two digits a byte";
            return false;
        }
        for (std::size_t i = 0; i < group.size(); i += 2) {
            bytes.push_back(static_cast<std::uint8_t>(HexByteValue(group[i], group[i + 1])));
        }
        position = groupEnd;
    }
    return true;
}

bool ParseValueText(std::string_view text, YUnicodeString& value, std::string& problem) {
    if (!FromUtf8Strict(text, value)) {
        problem = "the text is not valid UTF-8";
        return false;
    }
    if (HoldsLineBreak(value)) {
        problem =
            "a text cannot hold a line break: the configuration file keeps each text on "
            "one line (store several lines as a multi-string with --multi)";
        return false;
    }
    return true;
}

bool ParseValueName(std::string_view text, YUnicodeString& name, std::string& problem) {
    if (!FromUtf8Strict(text, name)) {
        problem = "the value name is not valid UTF-8";
        return false;
    }
    if (name.empty()) {
        problem = "a value name cannot be empty";
        return false;
    }
    if (name.find(u'"') != YUnicodeString::npos || HoldsLineBreak(name)) {
        problem = "the value name \"" + std::string(text) +
                  "\" holds a double quote or a line break, which a configuration file cannot "
                  "hold in a name";
        return false;
    }
    return true;
}

}  // namespace rivode::cli
