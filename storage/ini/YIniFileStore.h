// The INI folder store's back end: the configuration folder and the personal-data folder, both
// native paths without a trailing separator (the second may be empty).
#pragma once

#include <RivodeRavudaVU/YIniFileStore.h>

#include <string>

class YIniFileStore final : public YProfilePrivateStore {
public:
    YIniFileStore(std::string mainPath, std::string personalPath);
    // The root key: the main folder, no access control, nothing created.
    std::unique_ptr<YProfilePrivateKey> OpenPrivateRootKey(bool readOnly) override;

private:
    std::string mainPath_;
    std::string personalPath_;
};
