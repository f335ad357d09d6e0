// The sibling rule of loading: an integrated product loads its sibling's protocols too, and a
// sibling whose protocols cannot be had stops counting as installed. The loader here is a fake
// that refuses what a test says, so only the rule is under test.
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include "products/ProtocolModuleLoading.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

struct FakeLoader {
    int refusedProduct = 0;
    std::uint32_t refusal = msg::ProtocolNotAvailable;
};

int siblingNotices = 0;

void CountSiblingNotice(const ConnectProtocolEntry&) {
    ++siblingNotices;
}

bool FakeLoad(const YAppFnTable& table, ConnectProtocolEntry& entry, YReportMessageParams& report) {
    const auto& loader = *static_cast<const FakeLoader*>(table.hostData);
    if (entry.product == loader.refusedProduct) {
        report.SetMessage(loader.refusal);
        return false;
    }
    entry.functions.siblingProtocolsLoaded = CountSiblingNotice;
    return true;
}

class SiblingLoading : public ::testing::Test {
protected:
    void SetUp() override {
        siblingNotices = 0;
        SetQuilltermInstalled(true);
        SetQuillfileInstalled(true);
    }
    void TearDown() override {
        SetQuilltermInstalled(false);
        SetQuillfileInstalled(false);
    }

    std::size_t CountOf(int product) const {
        std::size_t count = 0;
        for (std::size_t index = 0; index < protocols_.GetCount(); ++index) {
            count += protocols_.GetEntry(index).product == product ? 1 : 0;
        }
        return count;
    }

    bool Load(int product) {
        const YAppFnTable table{FakeLoad, nullptr, &loader_};
        return LoadProductAndSiblingModules(protocols_, table, product, u"/modules", {}, report_);
    }

    FakeLoader loader_;
    ConnectProtocolTable protocols_;
    YReportMessageParams report_;
};

TEST_F(SiblingLoading, IntegratedProductsLoadEachOthersProtocolsAndAreToldSo) {
    for (const int product : {3, 6}) {
        SCOPED_TRACE(product);
        protocols_.Truncate(0);
        siblingNotices = 0;
        ASSERT_TRUE(Load(product));
        EXPECT_GT(CountOf(3), 0u);
        EXPECT_GT(CountOf(6), 0u);
        EXPECT_EQ(siblingNotices, static_cast<int>(protocols_.GetCount()));
    }
}

TEST_F(SiblingLoading, ASiblingWithoutProtocolsNoLongerCountsAsInstalled) {
    loader_.refusedProduct = 6;
    ASSERT_TRUE(Load(3));
    EXPECT_EQ(CountOf(3), protocols_.GetCount());
    EXPECT_EQ(siblingNotices, 0);
    EXPECT_FALSE(IsQuillfileInstalled());
    EXPECT_FALSE(IsIntegrated(3));
}

TEST_F(SiblingLoading, ASiblingModuleThatFailsVerificationFailsTheWholeLoading) {
    loader_.refusedProduct = 3;
    loader_.refusal = msg::ProtocolModuleRejected;
    EXPECT_FALSE(Load(6));
    EXPECT_EQ(report_.GetMessageId(), msg::ProtocolModuleRejected);
    EXPECT_TRUE(IsQuilltermInstalled());
}

TEST_F(SiblingLoading, AProductThatIsNotIntegratedLoadsOnlyItsOwn) {
    SetQuillfileInstalled(false);
    ASSERT_TRUE(Load(3));
    EXPECT_EQ(CountOf(6), 0u);
    const std::size_t terminal = CountOf(3);
    ASSERT_TRUE(Load(9));
    EXPECT_EQ(CountOf(9), protocols_.GetCount() - terminal);
    EXPECT_EQ(CountOf(3), terminal);
}

}  // namespace
}  // namespace rivode::test
