// The registry's two roots and the order in which a policy value is looked up in them.
#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YRegistryStore.h>

#include "products/PolicyValues.h"
#include "products/ProtocolModuleLoading.h"
#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace rivode::test {
namespace {

constexpr std::u16string_view kPolicyKey = u"Software\\Policies\\Yarrowby";
constexpr std::u16string_view kQuilltermKey = u"Software\\Yarrowby\\Quillterm";

class PolicyValues : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.Set("YARROWBY_REGISTRY", user_.Path().c_str());
        SetMachineRegistryRoot(machine_.Path());
    }
    void TearDown() override { SetMachineRegistryRoot({}); }

    // Administrators write the machine-wide root by hand; the library only reads it, so the
    // test writes it through a store of its own on that folder.
    static void Put(const std::string& root, std::u16string_view keyPath, std::u16string_view name,
                    std::uint32_t value) {
        YIniFileStoreFactory factory(FromUtf8(root));
        YProfileStore store(&factory);
        const YProfileKey key(store.GetRootKey(), keyPath, true);
        ASSERT_TRUE(key.SetDword(name, value));
    }

    TempFolder user_;
    TempFolder machine_;
    ScopedEnvironment environment_;
};

TEST_F(PolicyValues, TheMachinePolicyWinsThenTheUsersThenTheProductsOwnKeys) {
    // Where each place holds the value (0 for not at all) and what the lookup gives.
    const struct {
        std::uint32_t machinePolicy, userPolicy, machineProduct, userProduct;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {0, 0, 0, 0, std::nullopt},
        {1, 2, 3, 4, 1},
        {0, 2, 3, 4, 2},
        {0, 0, 3, 4, 3},
        {0, 0, 0, 4, 4},
    };
    for (const auto& c : cases) {
        TempFolder user;
        TempFolder machine;
        environment_.Set("YARROWBY_REGISTRY", user.Path().c_str());
        SetMachineRegistryRoot(machine.Path());
        const std::pair<std::uint32_t, std::pair<std::string, std::u16string_view>> places[] = {
            {c.machinePolicy, {machine.Path(), kPolicyKey}},
            {c.userPolicy, {user.Path(), kPolicyKey}},
            {c.machineProduct, {machine.Path(), kQuilltermKey}},
            {c.userProduct, {user.Path(), kQuilltermKey}},
        };
        for (const auto& [value, place] : places) {
            if (value != 0) {
                Put(place.first, place.second, kPolicyEnableFipsMode, value);
            }
        }
        std::uint32_t value = 0;
        const bool found = GetPolicyDword(3, kPolicyEnableFipsMode, value);
        EXPECT_EQ(found ? std::optional(value) : std::nullopt, c.expected);
        // Another product does not read Quillterm's own key.
        EXPECT_EQ(GetPolicyDword(6, kPolicyEnableFipsMode, value),
                  c.machinePolicy != 0 || c.userPolicy != 0);
    }
}

TEST_F(PolicyValues, AValueOfAnotherKindIsNotAPolicy) {
    {
        YIniFileStoreFactory factory(FromUtf8(machine_.Path()));
        YProfileStore store(&factory);
        ASSERT_TRUE(YProfileKey(store.GetRootKey(), kPolicyKey, true)
                        .SetString(kPolicyRequireConfigPassphrase, u"1"));
    }
    Put(user_.Path(), kPolicyKey, kPolicyRequireConfigPassphrase, 0);
    EXPECT_FALSE(IsPolicyEnabled(3, kPolicyRequireConfigPassphrase));
}

TEST_F(PolicyValues, FipsPoliciesDecideWhichProtocolsLoad) {
    EXPECT_FALSE(GetFipsSettings(6).enabled);
    Put(user_.Path(), kPolicyKey, kPolicyEnableFipsMode, 1);
    Put(machine_.Path(), u"Software\\Yarrowby\\Quillfile", kPolicyIgnoreFipsModeForTls, 1);
    const FipsSettings fips = GetFipsSettings(6);
    EXPECT_TRUE(fips.enabled);
    EXPECT_TRUE(fips.tlsExempt);
}

TEST_F(PolicyValues, TheMachineRootIsOnlyReadAndTheUserRootIsMadeWhenWrittenTo) {
    environment_.Set("YARROWBY_REGISTRY", (user_ / "not/yet/there/").c_str());
    EXPECT_EQ(GetRegistryRoot(YRegistryHive::CurrentUser), user_ / "not/yet/there");
    {
        YRegistryStoreFactory factory(YRegistryHive::CurrentUser);
        YProfileStore store(&factory);
        EXPECT_TRUE(
            YProfileKey(store.GetRootKey(), u"Software\\Yarrowby", true).SetDword(u"Value", 7));
    }
    std::uint32_t value = 0;
    YRegistryStoreFactory machineFactory(YRegistryHive::LocalMachine);
    YProfileStore machine(&machineFactory);
    EXPECT_FALSE(machine.GetRootKey().IsWritable());
    (void)YProfileKey(machine.GetRootKey(), u"Software", true).SetDword(u"Value", 1);
    EXPECT_TRUE(std::filesystem::is_empty(machine_.Path()));

    YRegistryStoreFactory userFactory(YRegistryHive::CurrentUser);
    YProfileStore user(true, &userFactory);
    EXPECT_TRUE(YProfileKey(user.GetRootKey(), u"software\\yarrowby").GetDword(u"Value", value));
    EXPECT_EQ(value, 7u);
}

}  // namespace
}  // namespace rivode::test
