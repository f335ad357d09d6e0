#include "storage/ini/YIniFileStore.h"

#include "storage/ini/YIniFileKey.h"

#include <new>

namespace {

// "Config/" and "Config" are one folder; the key paths add their own separators.
std::string WithoutTrailingSeparator(const YUnicodeString& path) {
    std::string native = rivode::ToUtf8(path);
    while (native.size() > 1 && native.back() == '/') {
        native.pop_back();
    }
    return native;
}

}  // namespace

YIniFileStoreFactory::YIniFileStoreFactory(YUnicodeString mainPath, YUnicodeString personalPath)
    : mainPath_(std::move(mainPath)), personalPath_(std::move(personalPath)) {}

std::unique_ptr<YProfilePrivateStore> YIniFileStoreFactory::CreatePrivateStore() {
    return std::unique_ptr<YProfilePrivateStore>(new (std::nothrow) YIniFileStore(
        WithoutTrailingSeparator(mainPath_), WithoutTrailingSeparator(personalPath_)));
}

YIniFileStore::YIniFileStore(std::string mainPath, std::string personalPath)
    : mainPath_(std::move(mainPath)), personalPath_(std::move(personalPath)) {}

std::unique_ptr<YProfilePrivateKey> YIniFileStore::OpenPrivateRootKey(bool readOnly) {
    return std::make_unique<YIniFileKey>(mainPath_, personalPath_, readOnly, nullptr, false);
}
