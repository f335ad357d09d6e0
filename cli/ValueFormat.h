// How values and kinds look on the terminal and in JSON.
#pragma once

#include "ValueData.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace rivode::cli {

// "dword", "string", "binary", "multi-string"; "unknown" for any other kind.
const char* ValueKindWord(int kind);
// "folder" (5), "file" (6), "folder+file" (7), "key" for a registry subkey (4).
const char* SubKeyKindWord(int kind);

// Two lower-case hexadecimal digits a byte, separated by blanks.
std::string FormatHexBytes(const ByteBlock& bytes);

// The lines `get` prints: a dword in decimal, a string as it is, a binary block in hex, a
// multi-string one item a line (no line at all when it has no items).
std::vector<std::string> FormatValueLines(const ValueData& value);
// The value on one line, as the listing of values shows it: multi-string items joined by " | ".
std::string FormatValueInline(const ValueData& value);
// A dword as a number, a string as a string, a binary block as its hex text, a multi-string as
// an array of strings.
nlohmann::json ValueToJson(const ValueData& value);

}  // namespace rivode::cli
