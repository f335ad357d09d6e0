// This test's library lies beside both sibling products, as an installation of the two puts it.
#include "tests/environment/entry/EntryTestSupport.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

TEST(IntegratedEntryTest, TerminalAndFileTransferProductsShareOneAreaWithoutANumber) {
    const std::unique_ptr<YSharedMemoryCache> otherProcess =
        OpenAreaWithPassphraseDisabled(3, true);
    ASSERT_TRUE(otherProcess);
    for (const int product : {3, 6}) {
        RivodeRavudaVuInit(product, nullptr, kRivodeInitSharePassphrase);
        EXPECT_TRUE(IsIntegrated(product)) << product;
        EXPECT_TRUE(IsConfigPassphraseDisabled()) << product;
    }
    RivodeRavudaVuCleanupForUnload();
}

}  // namespace
}  // namespace rivode::test
