#include "storage/xml/XmlValueText.h"

#include <RivodeRavudaVU/HexDigits.h>

namespace rivode::storage {
namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string XmlDwordText(std::uint32_t value) {
    return std::to_string(value);
}

bool ParseXmlDwordText(std::string_view text, std::uint32_t& value) {
    while (!text.empty() && IsXmlSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsXmlSpace(text.back())) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return false;
    }
    std::uint64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + static_cast<unsigned>(c - '0');
        if (number > 0xFFFFFFFFu) {
            return false;
        }
    }
    value = static_cast<std::uint32_t>(number);
    return true;
}

std::string XmlBinaryText(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    AppendHexBytes(bytes, count, false, text, ' ');
    return text;
}

bool ParseXmlBinaryText(std::string_view text, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    bytes.reserve(text.size() / 3 + 1);
    for (std::size_t i = 0; i < text.size();) {
        if (IsXmlSpace(text[i])) {
            ++i;
            continue;
        }
        const int byte = i + 1 < text.size() ? HexByteValue(text[i], text[i + 1]) : -1;
        if (byte < 0) {
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(byte));
        i += 2;
    }
    return true;
}

}  // namespace rivode::storage
