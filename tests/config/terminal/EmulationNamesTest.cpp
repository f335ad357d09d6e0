// Which emulations each product offers.
#include <RivodeRavudaVU/EmulationNames.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(EmulationNamesTest, TheServerEmulationIsMissingOnlyForTheOlderProduct) {
    for (const int product : {1, 3, 6, 9}) {
        SCOPED_TRACE(product);
        BuildEmulationNameTables(product);
        const auto& names = GetEmulationNames();
        const bool hasServer = product != 1;
        EXPECT_EQ(names.size(), hasServer ? 15u : 14u);
        EXPECT_EQ(names.front(), u"VT100");
        EXPECT_EQ(names.back(), hasServer ? u"Brackenhold" : u"Dumb");
        EXPECT_EQ(IsEmulationName(u"Brackenhold"), hasServer);
        EXPECT_EQ(std::count(names.begin(), names.end(), u"Xterm"), 1);
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
