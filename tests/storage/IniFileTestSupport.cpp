#include "tests/storage/IniFileTestSupport.h"

#include <filesystem>

namespace rivode::test {

void IniStoreTest::WriteValueFile(const std::string& path, const std::string& lines) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFileBytes(path, kBom + lines);
}

}  // namespace rivode::test
