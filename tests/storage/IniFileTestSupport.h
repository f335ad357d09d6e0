// Shared pieces of the INI folder store tests: a store over a fresh configuration folder (and
// optionally a personal-data folder), whole-file access in native paths, and single values read
// as optionals so that absence and content are checked in one comparison.
#pragma once

#include "tests/support/TempFolder.h"

#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rivode::test {

inline const std::string kBom = "\xEF\xBB\xBF";

inline std::optional<std::uint32_t> DwordOf(const YProfileKey& key, std::u16string_view name) {
    std::uint32_t value = 0;
    return key.GetDword(name, value) ? std::optional(value) : std::nullopt;
}
inline std::optional<YUnicodeString> StringOf(const YProfileKey& key, std::u16string_view name) {
    YUnicodeString value;
    return key.GetString(name, value) ? std::optional(value) : std::nullopt;
}

// The text a user would read for a status report.
inline std::u16string ReasonOf(const YReportMessageParams& status) {
    YReportMessageParams copy(status);
    return copy.GetSingleLineTextTrimmed();
}

// A key's values (or subkeys) with their kinds, in listing order.
using Listing = std::vector<std::pair<YUnicodeString, int>>;
inline Listing ListOf(const YProfileKey& key, bool values) {
    Listing listed;
    YProfileKeyIterator iterator(key, values);
    YUnicodeString name;
    int kind = 0;
    while (iterator.Next(name, kind)) {
        listed.emplace_back(name, kind);
    }
    return listed;
}

class IniStoreTest : public ::testing::Test {
protected:
    TempFolder temp_;

    std::string MainRoot() const { return temp_ / "Config"; }
    std::string PersonalRoot() const { return temp_ / "Personal"; }
    std::string Main(const std::string& relative) const { return MainRoot() + "/" + relative; }
    std::string Personal(const std::string& relative) const {
        return PersonalRoot() + "/" + relative;
    }

    std::unique_ptr<YProfileStore> OpenStore(bool withPersonal = false, bool readOnly = false) {
        YIniFileStoreFactory factory(FromUtf8(MainRoot()),
                                     withPersonal ? FromUtf8(PersonalRoot()) : YUnicodeString());
        return std::make_unique<YProfileStore>(readOnly, &factory);
    }

    // Writes a value file (the byte-order mark added) creating its folders.
    static void WriteValueFile(const std::string& path, const std::string& lines) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFileBytes(path, kBom + lines);
    }
};

}  // namespace rivode::test
