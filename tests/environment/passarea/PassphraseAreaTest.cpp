#include "environment/PassphraseArea.h"
#include "platform/InterProcessLock.h"
#include "platform/SharedMemory.h"
#include "storage/passphrase/ConfigPassphraseBlock.h"
#include "tests/davaraze/ScopedEnvironment.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(PassphraseAreaNamesTest, OnlyIntegratedProductsShareNamesWithoutTheirNumber) {
    const YUnicodeString map = u"{BE251B73-D0CC-49D6-BAD8-73E1DF33D0DE}";
    const YUnicodeString lock = u"{4F896D0D-BE15-474B-9673-7EE8C3FB1222}";
    const struct {
        int product;
        bool integrated;
        YUnicodeString suffix;
    } cases[] = {{3, true, u""}, {6, true, u""}, {3, false, u"{3}"}, {9, false, u"{9}"}};
    for (const auto& c : cases) {
        const PassphraseAreaNames names = GetPassphraseAreaNames(c.product, c.integrated);
        EXPECT_EQ(names.mapName, map + c.suffix) << c.product;
        EXPECT_EQ(names.lockName, lock + c.suffix) << c.product;
    }
}

// A product number of this test process alone, so that its area meets no other test's.
class PassphraseAreaTest : public ::testing::Test {
protected:
    ~PassphraseAreaTest() override {
        ReleasePassphraseArea();
        const PassphraseAreaNames names = GetPassphraseAreaNames(product_, false);
        EXPECT_EQ(rivode::platform::RemoveSharedMemory(rivode::ToUtf8(names.mapName)), 0);
        EXPECT_EQ(rivode::platform::RemoveInterProcessLock(rivode::ToUtf8(names.lockName)), 0);
    }

    static bool IsShared() { return GetPassphraseBlock()->IsShared(); }
    static std::uint32_t FormatMarker() { return LockedPassphraseBlock()->formatMarker; }

    const int product_ = 100000 + static_cast<int>(::getpid());
};

TEST_F(PassphraseAreaTest, ReleaseTwiceIsHarmlessAndLeavesAPrivateBlockForLaterUse) {
    CreatePassphraseArea(product_, kShareConfigPassphrase);
    SetConfigPassphrase(u"secret");
    ReleasePassphraseArea();
    ReleasePassphraseArea();
    EXPECT_EQ(GetConfigPassphrase(), u"");
    EXPECT_FALSE(IsShared());
}

TEST_F(PassphraseAreaTest, FailureToShareFallsBackToAPrivateBlock) {
    {
        rivode::test::ScopedEnvironment environment;
        environment.Set("XDG_RUNTIME_DIR", "/nonexistent/runtime");
        CreatePassphraseArea(product_, kShareConfigPassphrase);
    }
    EXPECT_FALSE(IsShared());
    EXPECT_EQ(FormatMarker(), 1u);
    SetConfigPassphrase(u"local");
    EXPECT_EQ(GetConfigPassphrase(), u"local");
}

}  // namespace
