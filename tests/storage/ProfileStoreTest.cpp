#include "tests/storage/IniFileTestSupport.h"
#include "tests/storage/MemoryKey.h"

#include <gtest/gtest.h>

#include <map>

namespace {

YProfileStoreFactory* registeredFactory = nullptr;

class ProfileStoreTest : public rivode::test::IniStoreTest {};

TEST_F(ProfileStoreTest, StoreUsesTheRegisteredFactoryAndWithoutOneFailsWithAReport) {
    YIniFileStoreFactory factory(rivode::FromUtf8(MainRoot() + "/"));
    registeredFactory = &factory;
    SetProfileStoreFactoryFunction([]() -> YProfileStoreFactory* { return registeredFactory; });
    EXPECT_EQ(GetDefaultProfileStoreFactory(), &factory);
    EXPECT_TRUE(YProfileStore().GetRootKey().SetDword(u"v", 1));
    EXPECT_EQ(rivode::test::ReadFileBytes(MainRoot() + ".ini"),
              rivode::test::kBom + "D:\"v\"=00000001\r\n");

    SetProfileStoreFactoryFunction(nullptr);
    YProfileStore store;
    YProfileKey& root = store.GetRootKey();
    EXPECT_FALSE(root.SetDword(u"v", 1));
    EXPECT_EQ(rivode::test::DwordOf(root, u"v"), std::nullopt);
    EXPECT_FALSE(root.GetStatus().IsSuccess());
    YProfileKey sub(root, u"Sub", true);
    EXPECT_FALSE(sub.GetStatus().IsSuccess());
    EXPECT_FALSE(sub.Flush());
    YProfileKeyIterator iterator(root, false);
    YUnicodeString name;
    EXPECT_FALSE(iterator.Next(name));
}

// A copy from a source whose listing holds a kind outside 0-3.
TEST(CopyProfileKeyMemoryTest, StopsAtTheFirstValueOfAnUnknownKind) {
    using rivode::test::MemoryValues;
    auto from = std::make_shared<MemoryValues>(), to = std::make_shared<MemoryValues>();
    from->values = {{u"a", 7u}, {u"b", MemoryValues::UnknownKind{}}, {u"c", 9u}};
    EXPECT_FALSE(
        CopyProfileKey(*rivode::test::MakeMemoryKey(to), *rivode::test::MakeMemoryKey(from)));
    EXPECT_EQ(to->values, (std::map<YUnicodeString, MemoryValues::Value, std::less<>>{{u"a", 7u}}));
}

TEST(ReservedDeviceNameTest, DeviceNamesAloneOrWithAnExtension) {
    for (const char16_t* name : {u"aux", u"AUX.ini", u"clock$", u"nul.txt", u"Com1.ini", u"LPT9",
                                 u"con", u"PRN.", u"CLOCK$.x"}) {
        EXPECT_TRUE(IsReservedDeviceName(name)) << rivode::ToUtf8(name);
    }
    for (const char16_t* name :
         {u"AUX1", u"LPT", u"COM10", u"CONSOLE", u"", u"COM0", u"xnul", u"LPT1x.ini"}) {
        EXPECT_FALSE(IsReservedDeviceName(name)) << rivode::ToUtf8(name);
    }
}

TEST(AccessControlTest, TextFormRoundTripsAndModesOpenOnlyForAnotherAllowedAccount) {
    YAccessControl access;
    EXPECT_EQ(access.FolderMode(), 0700u);
    EXPECT_EQ(access.FileMode(), 0600u);
    ASSERT_TRUE(access.FromStrings({u"DOMAIN\\user,allow,0x1f01ff", u"a,b,deny,12"}));
    EXPECT_EQ(access.entries.at(1).account, u"a,b");
    EXPECT_EQ(access.ToStrings(),
              (YStringArray{u"DOMAIN\\user,allow,0x001f01ff", u"a,b,deny,0x0000000c"}));
    for (const char16_t* bad :
         {u"user,maybe,1", u"user,allow,", u"user,allow,0xzz", u"allow,1", u""}) {
        EXPECT_FALSE(access.FromStrings({bad})) << rivode::ToUtf8(bad);
    }
    EXPECT_EQ(access.entries.size(), 2u) << "a failed parse leaves the description unchanged";

    const std::pair<YStringArray, unsigned> modes[] = {
        {{u"SYSTEM,allow,0x10000000", u"CREATOR OWNER,allow,0x10000000"}, 0600u},
        {{u"Users,allow,0x10000000", u"Users,deny,0x40000000"}, 0644u},
        {{u"Users,allow,0x80000000"}, 0644u},
    };
    for (const auto& [entries, fileMode] : modes) {
        ASSERT_TRUE(access.FromStrings(entries));
        EXPECT_EQ(access.FileMode(), fileMode) << rivode::ToUtf8(entries[0]);
    }
    EXPECT_EQ(access.FolderMode(), 0755u);
}

}  // namespace
