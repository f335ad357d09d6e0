// Which emulations each product offers.
#include <RivodeRavudaVU/EmulationNames.h>

#include <gtest/gtest.h>

namespace {

TEST(EmulationNamesTest, TheServerEmulationIsMissingOnlyForTheOlderProduct) {
    for (const int product : {1, 3, 6, 9}) {
        BuildEmulationNameTables(product);
        EXPECT_EQ(IsEmulationName(u"Brackenhold"), product != 1) << product;
    }
    BuildEmulationNameTables(3);
}

// A reference handed out before a rebuild stays usable afterwards.
TEST(EmulationNamesTest, ReferencesSurviveARebuild) {
    BuildEmulationNameTables(1);
    const auto& before = GetEmulationNames();
    BuildEmulationNameTables(3);
    EXPECT_EQ(before.size(), 14u);
    EXPECT_EQ(GetEmulationNames().size(), 15u);
}

}  // namespace
