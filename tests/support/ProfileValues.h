// Every value of a key tree in one map, to compare what a store holds before and after.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace rivode::test {

// "key path|value name" -> "kind:content"; the key path starts with "\" below the key read.
using ValueMap = std::map<std::string, std::string>;

// Every value below key, subkeys included, into values.
inline void CollectValues(const YProfileKey& key, const std::string& path, ValueMap& values) {
    YProfileKeyIterator valueList(key, true);
    YUnicodeString name;
    int kind = ValueKindUnknown;
    while (valueList.Next(name, kind)) {
        std::string content;
        if (kind == ValueKindDword) {
            std::uint32_t number = 0;
            EXPECT_TRUE(key.GetDword(name, number));
            content = std::to_string(number);
        } else if (kind == ValueKindString) {
            YUnicodeString text;
            EXPECT_TRUE(key.GetString(name, text));
            content = ToUtf8(text);
        } else if (kind == ValueKindMultiString) {
            YStringArray lines;
            EXPECT_TRUE(key.GetStringArray(name, lines));
            for (const YUnicodeString& line : lines) {
                content += ToUtf8(line) + "\n";
            }
        } else {
            std::uint32_t size = 0;
            EXPECT_TRUE(key.GetBinary(name, nullptr, size));
            content.resize(size);
            EXPECT_TRUE(key.GetBinary(name, content.data(), size));
        }
        values[path + "|" + ToUtf8(name)] = std::to_string(kind) + ":" + content;
    }
    YProfileKeyIterator subKeys(key, false);
    while (subKeys.Next(name)) {
        CollectValues(YProfileKey(key, name), path + "\\" + ToUtf8(name), values);
    }
}

}  // namespace rivode::test
