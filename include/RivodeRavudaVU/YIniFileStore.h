// The INI folder store: a configuration folder whose tree of folders and .ini files mirrors the
// key tree, with an optional personal-data folder mirroring the same tree for personal values.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <memory>

#pragma GCC visibility push(default)

// Folder paths are native paths ('/' separated) without a trailing separator; the personal one
// may be empty.
class YIniFileStoreFactory : public YProfileStoreFactory {
public:
    YIniFileStoreFactory(YUnicodeString mainPath, YUnicodeString personalPath = {});
    std::unique_ptr<YProfilePrivateStore> CreatePrivateStore() override;

    const YUnicodeString& GetMainPath() const { return mainPath_; }
    const YUnicodeString& GetPersonalPath() const { return personalPath_; }

private:
    YUnicodeString mainPath_;
    YUnicodeString personalPath_;
};

#pragma GCC visibility pop
