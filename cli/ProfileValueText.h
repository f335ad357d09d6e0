// Typed values of a configuration record (global or session) as rivode shows and takes them:
// typed by the value itself, shown as one line, a list of lines or JSON, set from the words typed
// on the command line.
#pragma once

#include "Output.h"

#include <RivodeRavudaVU/YProfileData.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace rivode::cli {

// How a value is shown and set.
enum class ProfileValueType { Boolean, Number, SignedNumber, Text, List, Binary, Encrypted };

ProfileValueType TypeOfProfileValue(const YProfileData& value);
const char* ProfileValueTypeWord(ProfileValueType type);
// "store" when the value was read from the store, "default" otherwise.
const char* ProfileValueSourceWord(const YProfileData& value);

// A boolean, a number, a string, an array of strings, or for binary values their stored bytes
// as hex text; encrypted values as their stored (enciphered) text.
nlohmann::json ProfileValueToJson(const YProfileData& value);
// The value as `get` prints it: a list one item a line (no line when it is empty), anything else
// on one line.
std::vector<std::string> FormatProfileValueLines(const YProfileData& value);
// The value on one line, list items joined by " | ".
std::string FormatProfileValueInline(const YProfileData& value);

// One value of a listing: {"name", "type", "source", "value"} as JSON, or the same four fields
// on one line separated by tabs.
nlohmann::json ProfileValueRowJson(const std::string& name, const YProfileData& value);
std::string ProfileValueRowLine(const std::string& name, const YProfileData& value);

// Prints a listing of entries (each with a name and a value pointer): one row a line, or with json
// one array of rows.
template <class Entries>
void PrintProfileValueRows(const Entries& entries, bool json) {
    if (json) {
        nlohmann::json array = nlohmann::json::array();
        for (const auto& entry : entries) {
            array.push_back(ProfileValueRowJson(entry.name, *entry.value));
        }
        PrintJson(array);
        return;
    }
    for (const auto& entry : entries) {
        PrintLine(ProfileValueRowLine(entry.name, *entry.value));
    }
}
// Prints one value as `get` shows it, or with json its row.
void PrintProfileValue(const std::string& name, const YProfileData& value, bool json);

// Sets value from the words typed after its name: booleans true, false, 1 or 0; numbers in
// decimal (a sign only for signed ones) or hexadecimal after 0x; texts one word; lists one item
// a word, or one word holding one item a line; binary values their bytes in hex. false with the
// value unchanged and a failure whose message says why: a usage failure when the words do not
// fit the value's type, a failure with the library's reason when the value refuses what they
// give (a number outside its range). Encrypted values are refused: they are set from their
// plaintext, which only the caller can encipher.
[[nodiscard]] bool SetProfileValue(YProfileData& value, const std::vector<std::string>& words,
                                   CommandFailure& failure);

}  // namespace rivode::cli
