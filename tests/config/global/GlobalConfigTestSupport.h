// Shared pieces of the global record tests: a configuration folder of its own for each test,
// registered as the default store and as the process's configuration folder, and records read
// from its key "Global".
#pragma once

#include "tests/storage/IniFileTestSupport.h"

#include <RivodeRavudaVU/GlobalConfig.h>

#include <DavaraZE/YwsPaths.h>

#include <memory>

namespace rivode::test {

class GlobalConfigTest : public IniStoreTest {
protected:
    GlobalConfigTest() {
        factory_ = std::make_unique<YIniFileStoreFactory>(FromUtf8(MainRoot()), YUnicodeString());
        current_ = factory_.get();
        SetProfileStoreFactoryFunction([] { return current_; });
        SetYwsConfigPathSub(FromUtf8(MainRoot()));
    }
    ~GlobalConfigTest() override {
        FreeGlobalConfig();
        SetProfileStoreFactoryFunction(nullptr);
        SetYwsConfigPathSub({});
        current_ = nullptr;
    }

    std::string GlobalFile() const { return Main("Global.ini"); }

    // A record read from the folder's key "Global" as it is now.
    YRefPtr<GlobalConfig> Read(int product = 3, bool integrated = false,
                               bool withUserInterface = true) {
        const auto store = OpenStore();
        const YProfileKey key(store->GetRootKey(), kGlobalKeyName);
        return MakeYRef<GlobalConfig>(&key, product, integrated, withUserInterface);
    }
    // Saves record into the folder's key "Global" and stores the file.
    void Write(GlobalConfig& record) {
        YReportMessageParams report;
        ASSERT_TRUE(record.SaveToStore(report)) << ToUtf8(report.GetText());
    }
    // The stored key "Global" (reopened for each call, so it shows what the file holds).
    struct StoredGlobal {
        std::unique_ptr<YProfileStore> store;
        std::unique_ptr<YProfileKey> key;
        const YProfileKey& operator*() const { return *key; }
    };
    StoredGlobal Stored() {
        StoredGlobal stored{OpenStore(), nullptr};
        stored.key = std::make_unique<YProfileKey>(stored.store->GetRootKey(), kGlobalKeyName);
        return stored;
    }

private:
    static inline YProfileStoreFactory* current_ = nullptr;
    std::unique_ptr<YIniFileStoreFactory> factory_;
};

}  // namespace rivode::test
