#include "environment/PassphraseArea.h"
#include "platform/InterProcessLock.h"
#include "platform/SharedMemory.h"
#include "storage/ConfigPassphraseBlock.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

TEST(PassphraseAreaNamesTest, OnlyIntegratedProductsShareNamesWithoutTheirNumber) {
    const YUnicodeString map = u"{BE251B73-D0CC-49D6-BAD8-73E1DF33D0DE}";
    const YUnicodeString lock = u"{4F896D0D-BE15-474B-9673-7EE8C3FB1222}";
    const struct {
        int product;
        bool integrated;
        YUnicodeString suffix;
    } cases[] = {
        {3, true, u""}, {6, true, u""}, {3, false, u"{3}"}, {6, false, u"{6}"}, {9, false, u"{9}"},
    };
    for (const auto& c : cases) {
        const PassphraseAreaNames names = GetPassphraseAreaNames(c.product, c.integrated);
        EXPECT_EQ(names.mapName, map + c.suffix) << c.product;
        EXPECT_EQ(names.lockName, lock + c.suffix) << c.product;
    }
}

// A product number of this test process alone, so its area meets no other test's.
class PassphraseAreaTest : public ::testing::Test {
protected:
    ~PassphraseAreaTest() override {
        ReleasePassphraseArea();
        const PassphraseAreaNames names = GetPassphraseAreaNames(product_, false);
        EXPECT_EQ(rivode::platform::RemoveSharedMemory(rivode::ToUtf8(names.mapName)), 0);
        EXPECT_EQ(rivode::platform::RemoveInterProcessLock(rivode::ToUtf8(names.lockName)), 0);
    }

    // Whether the area's named memory exists, leaving things as they were.
    bool SharedMemoryExists() const {
        const std::string name = rivode::ToUtf8(GetPassphraseAreaNames(product_, false).mapName);
        std::unique_ptr<rivode::platform::SharedMemory> memory;
        bool created = false;
        EXPECT_EQ(rivode::platform::SharedMemory::Open(name, 4104, memory, created), 0);
        if (created) {
            EXPECT_EQ(rivode::platform::RemoveSharedMemory(name), 0);
        }
        return !created;
    }

    static std::uint32_t FormatMarker() {
        return LockedPassphraseBlock()->formatMarker;
    }

    const int product_ = 100000 + static_cast<int>(::getpid());
};

TEST_F(PassphraseAreaTest, SharingFlagChoosesTheNamedAreaOverAPrivateBlock) {
    CreatePassphraseArea(product_, 0);
    EXPECT_FALSE(GetPassphraseBlock()->IsShared());
    EXPECT_EQ(FormatMarker(), 1u);
    EXPECT_FALSE(SharedMemoryExists());

    CreatePassphraseArea(product_, kShareConfigPassphrase);
    EXPECT_TRUE(GetPassphraseBlock()->IsShared());
    EXPECT_EQ(FormatMarker(), 1u);
    EXPECT_TRUE(SharedMemoryExists());

    // A second creation replaces the area, and closing the shared one removes it.
    CreatePassphraseArea(product_, 0);
    EXPECT_FALSE(GetPassphraseBlock()->IsShared());
    EXPECT_FALSE(SharedMemoryExists());
}

TEST_F(PassphraseAreaTest, ReleaseTwiceIsHarmlessAndLeavesAPrivateBlockForLaterUse) {
    CreatePassphraseArea(product_, kShareConfigPassphrase);
    SetConfigPassphrase(u"secret");
    ReleasePassphraseArea();
    ReleasePassphraseArea();
    EXPECT_FALSE(SharedMemoryExists());
    EXPECT_EQ(GetConfigPassphrase(), u"");
    EXPECT_FALSE(GetPassphraseBlock()->IsShared());
}

TEST_F(PassphraseAreaTest, FailureToShareFallsBackToAPrivateBlock) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = runtime != nullptr ? runtime : "";
    ::setenv("XDG_RUNTIME_DIR", "/nonexistent/runtime", 1);
    CreatePassphraseArea(product_, kShareConfigPassphrase);
    ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    EXPECT_FALSE(GetPassphraseBlock()->IsShared());
    EXPECT_EQ(FormatMarker(), 1u);
    SetConfigPassphrase(u"local");
    EXPECT_EQ(GetConfigPassphrase(), u"local");
}

}  // namespace
