// The values of the global record as rivode shows and takes them: by name (the QuickSync values
// as "QuickSync\<name>"), typed by the record's schema.
#pragma once

#include <RivodeRavudaVU/GlobalConfig.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace rivode::cli {

// How a value is shown and set.
enum class GlobalValueType { Boolean, Number, SignedNumber, Text, List, Binary, Encrypted };

struct GlobalValueEntry {
    std::string name;  // UTF-8
    YProfileData* value = nullptr;
    // What saves the value into the global key: the value itself, or the record that keeps it in
    // a subkey of its own.
    YProfileData* savedBy = nullptr;
};

// Every value of config: the main values in the order they are read, then the sub-records'.
std::vector<GlobalValueEntry> CollectGlobalValues(GlobalConfig& config);

GlobalValueType TypeOfGlobalValue(const YProfileData& value);
const char* GlobalValueTypeWord(GlobalValueType type);

// A boolean, a number, a string, an array of strings, or for binary values their stored bytes
// as hex text.
nlohmann::json GlobalValueToJson(const YProfileData& value);
// The value as `get` prints it: a list one item a line (no line when it is empty), anything else
// on one line.
std::vector<std::string> FormatGlobalValueLines(const YProfileData& value);
// The value on one line, list items joined by " | ".
std::string FormatGlobalValueInline(const YProfileData& value);

// Sets value from the words typed after its name: booleans true, false, 1 or 0; numbers in
// decimal (a sign only for signed ones) or hexadecimal after 0x; texts one word; lists one item
// a word, or one word holding one item a line; binary values their bytes in hex. false with a
// problem, the value unchanged, when the words do not fit the value's type.
[[nodiscard]] bool SetGlobalValue(YProfileData& value, const std::vector<std::string>& words,
                                  std::string& problem);

}  // namespace rivode::cli
