#include "ValueFormat.h"

#include <RivodeRavudaVU/HexDigits.h>

namespace rivode::cli {

namespace {

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

const char* ValueKindWord(int kind) {
    switch (kind) {
        case ValueKindDword:
            return "dword";
        case ValueKindString:
            return "string";
        case ValueKindBinary:
            return "binary";
        case ValueKindMultiString:
            return "multi-string";
        default:
            return "unknown";
    }
}

const char* SubKeyKindWord(int kind) {
    switch (kind) {
        case ValueKindSubKeyFolder:
            return "folder";
        case ValueKindSubKeyFile:
            return "file";
        case ValueKindSubKeyFolderFile:
            return "folder+file";
        default:
            return "key";
    }
}

std::string FormatHexBytes(const ByteBlock& bytes) {
    std::string text;
    AppendHexBytes(bytes.data(), bytes.size(), false, text, ' ');
    return text;
}

std::vector<std::string> FormatValueLines(const ValueData& value) {
    if (const auto* items = std::get_if<YStringArray>(&value)) {
        std::vector<std::string> lines;
        lines.reserve(items->size());
        for (const YUnicodeString& item : *items) {
            lines.push_back(ToUtf8(item));
        }
        return lines;
    }
    return {FormatValueInline(value)};
}

std::string FormatValueInline(const ValueData& value) {
    return std::visit(Overloaded{
                          [](std::uint32_t number) { return std::to_string(number); },
                          [](const YUnicodeString& text) { return ToUtf8(text); },
                          [](const ByteBlock& bytes) { return FormatHexBytes(bytes); },
                          [](const YStringArray& items) {
                              YUnicodeString joined;
                              for (const YUnicodeString& item : items) {
                                  if (&item != &items.front()) {
                                      joined += u" | ";
                                  }
                                  joined += item;
                              }
                              return ToUtf8(joined);
                          },
                      },
                      value);
}

nlohmann::json ValueToJson(const ValueData& value) {
    return std::visit(
        Overloaded{
            [](std::uint32_t number) { return nlohmann::json(number); },
            [](const YUnicodeString& text) { return nlohmann::json(ToUtf8(text)); },
            [](const ByteBlock& bytes) { return nlohmann::json(FormatHexBytes(bytes)); },
            [](const YStringArray& items) {
                nlohmann::json array = nlohmann::json::array();
                for (const YUnicodeString& item : items) {
                    array.push_back(ToUtf8(item));
                }
                return array;
            },
        },
        value);
}

}  // namespace rivode::cli
