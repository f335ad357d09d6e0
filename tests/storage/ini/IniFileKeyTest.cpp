#include "tests/storage/IniFileTestSupport.h"

#include <RivodeRavudaVU/YProfileValueNames.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iterator>
#include <thread>

namespace {

using rivode::test::DwordOf;
using rivode::test::kBom;
using rivode::test::Listing;
using rivode::test::ListOf;
using rivode::test::ReadFileBytes;

// Values through one key object: absence, kinds, refusals and listings.
class IniFileKeyTest : public rivode::test::IniStoreTest {
protected:
    void SetUp() override { store_ = OpenStore(); }
    YProfileKey& Root() { return store_->GetRootKey(); }
    std::unique_ptr<YProfileStore> store_;
};

TEST_F(IniFileKeyTest, ValueNamesAreVisitedUnorderedAsTheListingHoldsThem) {
    YProfileKey key(Root(), u"Unordered");
    ASSERT_TRUE(key.SetDword(u"b", 1));
    ASSERT_TRUE(key.SetString(u"Username", u"me"));  // a personal value
    ASSERT_TRUE(key.SetStringArray(u"A", {u"x"}));
    ASSERT_TRUE(key.SetBinary(u"gone", "x", 1));
    ASSERT_TRUE(key.DeleteValue(u"gone"));
    Listing visited;
    ForEachProfileValueName(key, [&](std::u16string_view name, int kind) {
        visited.emplace_back(YUnicodeString(name), kind);
    });
    std::sort(visited.begin(), visited.end());
    Listing listed = ListOf(key, true);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(visited, listed);
    EXPECT_EQ(visited.size(), 3u);
}

TEST_F(IniFileKeyTest, UnstorableNamesAndTextsAreRefusedWithAReport) {
    YProfileKey key(Root(), u"K");
    EXPECT_FALSE(key.SetDword(u"a\"b", 1));
    EXPECT_EQ(key.GetStatus().GetMessageId(), static_cast<std::uint32_t>(EINVAL));
    EXPECT_FALSE(key.SetDword(u"", 1));
    EXPECT_TRUE(ListOf(key, true).empty());

    // Key names that cannot be files.
    const YUnicodeString badNames[] = {u"..", u".", u"a/b", u"Sessions\\..\\x",
                                       YUnicodeString(u"a\0b", 3)};
    for (const YUnicodeString& name : badNames) {
        SCOPED_TRACE(rivode::ToUtf8(name));
        YProfileKey bad(Root(), name, true);
        EXPECT_EQ(bad.GetStatus().GetMessageId(), static_cast<std::uint32_t>(EINVAL));
        EXPECT_FALSE(bad.SetDword(u"v", 1));
        EXPECT_FALSE(bad.IsWritable());
        EXPECT_FALSE(Root().DeleteSubKey(name));
    }
    EXPECT_FALSE(std::filesystem::exists(temp_ / "x.ini"));
    EXPECT_FALSE(std::filesystem::exists(temp_ / "Config.ini"));
}

TEST_F(IniFileKeyTest, IsSessionIsAnsweredFromTheFileAlone) {
    WriteValueFile(Main("Sessions/s.ini"), "D:\"Is Session\"=00000000\r\nD:\"Other\"=00000002\r\n");
    YProfileKey key(Root(), u"Sessions\\s");
    EXPECT_EQ(DwordOf(key, u"Is Session"), 1u);
    EXPECT_EQ(DwordOf(key, u"Is Command List"), 1u);
    EXPECT_EQ(DwordOf(key, u"Other"), 2u);  // loads the table, which answers from now on
    EXPECT_EQ(DwordOf(key, u"Is Session"), 0u);
    EXPECT_EQ(DwordOf(YProfileKey(Root(), u"Sessions\\none"), u"Is Session"), std::nullopt);
    std::filesystem::create_directories(Main("Sessions/folder.ini"));
    EXPECT_EQ(DwordOf(YProfileKey(Root(), u"Sessions\\folder"), u"Is Session"), std::nullopt);
}

TEST_F(IniFileKeyTest, ValueListingIsSortedWithoutCaseAndSkipsLaterDeletions) {
    YProfileKey key(Root(), u"K");
    ASSERT_TRUE(key.SetDword(u"beta", 1));
    ASSERT_TRUE(key.SetStringArray(u"Alpha", {}));
    ASSERT_TRUE(key.SetString(u"alpha", u"x"));
    ASSERT_TRUE(key.SetBinary(u"Gamma", "", 0));
    ASSERT_TRUE(key.SetString(u"Password", u"p"));
    YProfileKeyIterator values(key, true);
    ASSERT_TRUE(key.DeleteValue(u"Gamma"));
    const auto list = [](YProfileKeyIterator& listing) {
        Listing listed;
        for (std::pair<YUnicodeString, int> next; listing.Next(next.first, next.second);) {
            listed.push_back(next);
        }
        return listed;
    };
    const Listing sorted{{u"Alpha", ValueKindMultiString},
                         {u"alpha", ValueKindString},
                         {u"beta", ValueKindDword},
                         {u"Password", ValueKindString}};
    EXPECT_EQ(list(values), sorted);
    // Listings of keys holding the same names reuse the last order; one name differing must not.
    YProfileKeyIterator again(key, true);
    EXPECT_EQ(list(again), sorted);
    YProfileKey other(Root(), u"L");
    for (const char16_t* name : {u"beta", u"Alpha", u"alpha", u"Delta"}) {
        ASSERT_TRUE(other.SetDword(name, 0));
    }
    YProfileKeyIterator otherValues(other, true);
    EXPECT_EQ(list(otherValues), (Listing{{u"Alpha", ValueKindDword},
                                          {u"alpha", ValueKindDword},
                                          {u"beta", ValueKindDword},
                                          {u"Delta", ValueKindDword}}));
}

// Keys read from files of one kind are listed in the order the first one was sorted in, by
// slot; each listing must still be its own key's, names and kinds.
TEST_F(IniFileKeyTest, KeysOfOneKindListedInARowEachListTheirOwnValues) {
    const std::string lines =
        "D:\"zeta\"=00000001\r\nS:\"Username\"=u\r\nS:\"Alpha\"=a\r\n"
        "B:\"mid\"=00000001\r\n 01\r\nZ:\"beta\"=00000001\r\n x\r\n";
    const std::string files[] = {lines,
                                 lines,
                                 lines + "D:\"Added\"=00000002\r\n",
                                 lines,
                                 "S:\"zeta\"=z\r\n" + lines.substr(lines.find("S:\"User")),
                                 lines};
    for (std::size_t i = 0; i < std::size(files); ++i) {
        WriteValueFile(Main("K" + std::to_string(i) + ".ini"), files[i]);
    }
    Listing expected[std::size(files)];
    for (std::size_t i = 0; i < std::size(files); ++i) {
        // Alone, on a thread that listed nothing before.
        std::thread([&] {
            const auto store = OpenStore();
            expected[i] = ListOf(
                YProfileKey(store->GetRootKey(), rivode::FromUtf8("K" + std::to_string(i))), true);
        }).join();
    }
    EXPECT_EQ(expected[2].size(), expected[0].size() + 1);
    for (std::size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ListOf(YProfileKey(Root(), rivode::FromUtf8("K" + std::to_string(i))), true),
                  expected[i]);
    }
}

TEST_F(IniFileKeyTest, TwoObjectsOfOneKeyDoNotShareUnsavedChanges) {
    auto first = std::make_unique<YProfileKey>(Root(), u"K");
    YProfileKey second(Root(), u"K");
    ASSERT_TRUE(first->SetDword(u"v", 1));
    EXPECT_EQ(DwordOf(second, u"v"), std::nullopt);
    first.reset();
    EXPECT_EQ(DwordOf(second, u"v"), std::nullopt) << "a loaded key never rereads";
    EXPECT_EQ(DwordOf(YProfileKey(Root(), u"K"), u"v"), 1u);
}

TEST_F(IniFileKeyTest, FlushStoresNowAndDestructionDoesNotRepeatIt) {
    YProfileKey key(Root(), u"K");
    ASSERT_TRUE(key.SetDword(u"v", 3));
    ASSERT_TRUE(key.Flush());
    EXPECT_EQ(ReadFileBytes(Main("K.ini")), kBom + "D:\"v\"=00000003\r\n");
    // Another writer changes the file; this key has nothing pending and must not undo it.
    WriteValueFile(Main("K.ini"), "D:\"v\"=00000004\r\n");
    ASSERT_TRUE(key.Flush());
    EXPECT_EQ(ReadFileBytes(Main("K.ini")), kBom + "D:\"v\"=00000004\r\n");
}

}  // namespace
