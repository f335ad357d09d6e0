#include "platform/InterProcessLock.h"
#include "platform/SharedMemory.h"
#include "tests/environment/entry/EntryTestSupport.h"
#include "tests/support/TempFolder.h"

#include <RivodeRavudaVU/CommandDatabase.h>
#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/EmulationNames.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include <gtest/gtest.h>

#include <unistd.h>

namespace rivode::test {
namespace {

// Each test starts the library as a host does, on a configuration folder of its own. Its
// product number belongs to this test process alone, so that its shared area meets no other
// test's.
class LibraryEntryTest : public ::testing::Test {
protected:
    LibraryEntryTest() {
        factory_ = std::make_unique<YIniFileStoreFactory>(folder_.Path16());
        RivodeRavudaVuInitProfileFactory([]() -> YProfileStoreFactory* { return factory_.get(); });
    }
    ~LibraryEntryTest() override {
        FreeGlobalConfig();
        RivodeRavudaVuCleanupForUnload();
        RivodeRavudaVuInitProfileFactory(nullptr);
        factory_.reset();
        const PassphraseAreaNames names = GetPassphraseAreaNames(product_, false);
        EXPECT_EQ(platform::RemoveSharedMemory(ToUtf8(names.mapName)), 0);
        EXPECT_EQ(platform::RemoveInterProcessLock(ToUtf8(names.lockName)), 0);
    }

    static inline std::unique_ptr<YIniFileStoreFactory> factory_;
    TempFolder folder_;
    const int product_ = 100000 + static_cast<int>(::getpid());
};

TEST_F(LibraryEntryTest, DatabasesLiveUntilTheCleanupAndComeBackForTheNextProduct) {
    RivodeRavudaVuInit(product_, nullptr, 0);
    SessionDatabaseImpl* sessions = GetSessionDatabaseImpl();
    CommandDatabaseImpl* commands = GetCommandDatabaseImpl();
    EXPECT_EQ(GetSessionDatabaseImpl(), sessions);
    EXPECT_EQ(GetCommandDatabaseImpl(), commands);
    EXPECT_EQ(sessions->GetProduct(), product_);
    EXPECT_EQ(commands->GetProduct(), product_);

    RivodeRavudaVuCleanupForUnload();
    RivodeRavudaVuCleanupForUnload();
    // Only a database made after the cleanup can know the product of the next start.
    RivodeRavudaVuInit(6, nullptr, 0);
    EXPECT_EQ(GetSessionDatabaseImpl()->GetProduct(), 6);
    EXPECT_EQ(GetCommandDatabaseImpl()->GetProduct(), 6);
}

TEST_F(LibraryEntryTest, SharingFlagDecidesWhetherTheProductsNumberedAreaIsUsed) {
    // This product is not integrated: its area carries its number.
    const std::unique_ptr<YSharedMemoryCache> otherProcess =
        OpenAreaWithPassphraseDisabled(product_, false);
    ASSERT_TRUE(otherProcess);
    const struct {
        int flags;
        bool shared;
    } steps[] = {{0, false}, {kRivodeInitSharePassphrase, true}, {0, false}};
    for (const auto& step : steps) {
        RivodeRavudaVuInit(product_, nullptr, step.flags);
        EXPECT_EQ(GetPassphraseBlock()->IsShared(), step.shared) << step.flags;
        EXPECT_EQ(IsConfigPassphraseDisabled(), step.shared) << step.flags;
        EXPECT_EQ(LockedPassphraseBlock()->formatMarker, 1u) << step.flags;
    }
    // The first process to set the shared area up marks it.
    std::lock_guard guard(otherProcess->GetLock());
    EXPECT_EQ(static_cast<ConfigPassphraseBlock*>(otherProcess->GetData())->formatMarker, 1u);
}

TEST_F(LibraryEntryTest, StoresBuiltWithoutAFactoryUseTheRegisteredOne) {
    {
        YProfileStore store;
        const YProfileKey key(store.GetRootKey(), u"Probe", true);
        EXPECT_TRUE(key.SetDword(u"Value", 7));
    }
    EXPECT_NE(ReadFileBytes(folder_ / "Probe.ini").find("Value"), std::string::npos);

    RivodeRavudaVuInitProfileFactory(nullptr);
    YProfileStore store;
    std::uint32_t value = 0;
    EXPECT_FALSE(YProfileKey(store.GetRootKey(), u"Probe").GetDword(u"Value", value));
}

TEST_F(LibraryEntryTest, EmulationTableFollowsTheProductOfTheLatestEntryPoint) {
    // Only the older terminal product lacks the Brackenhold emulation.
    const struct {
        int initProduct;
        int guiProduct;
    } cases[] = {{1, 3}, {3, 1}};
    for (const auto& c : cases) {
        RivodeRavudaVuInit(c.initProduct, nullptr, 0);
        EXPECT_EQ(IsEmulationName(u"Brackenhold"), c.initProduct != 1) << c.initProduct;
        RivodeRavudaVuInitGUI(c.guiProduct, nullptr, nullptr);
        EXPECT_EQ(IsEmulationName(u"Brackenhold"), c.guiProduct != 1) << c.guiProduct;
    }
    // The first user-interface start made the global record, while the host product was 1.
    EXPECT_EQ(GetGlobalConfig()->GetProduct(), 1);
}

TEST_F(LibraryEntryTest, EveryStatusHasASmallPngIconInStatusOrder) {
    RivodeRavudaVuInit(product_, nullptr, 0);
    const std::span<const YStatusIcon> icons = GetIconStatusArray();
    ASSERT_FALSE(icons.empty());
    for (std::size_t i = 0; i < icons.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(icons[i].status), i);
        const std::string bytes(icons[i].png.begin(), icons[i].png.end());
        // The signature, then the header chunk with a width and height of 16.
        ASSERT_GE(bytes.size(), 24u) << i;
        EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n") << i;
        EXPECT_EQ(bytes.substr(12, 12), std::string("IHDR\0\0\0\x10\0\0\0\x10", 12)) << i;
    }
}

}  // namespace
}  // namespace rivode::test
