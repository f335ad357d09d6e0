// Shared pieces of the INI folder store tests: a store over a fresh configuration folder (and
// optionally a personal-data folder), and whole-file access in native paths.
#pragma once

#include "tests/support/TempFolder.h"

#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace rivode::test {

inline const std::string kBom = "\xEF\xBB\xBF";

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
    void WriteValueFile(const std::string& path, const std::string& lines);
};

}  // namespace rivode::test
