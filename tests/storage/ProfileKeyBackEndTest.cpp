// The behaviour every store back end shares through the abstract key interface, run over the
// INI folder store and the XML file store alike. What only one back end does stays in its own
// tests.
#include "tests/storage/IniFileTestSupport.h"
#include "tests/storage/StoreBackEnds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace {

using rivode::test::DwordOf;
using rivode::test::IniBackEnd;
using rivode::test::Listing;
using rivode::test::ListOf;
using rivode::test::StringOf;
using rivode::test::TempFolder;
using rivode::test::XmlBackEnd;

// Every file under the test's folder with its bytes: what a store has written.
std::vector<std::pair<std::string, std::string>> StoredFiles(const TempFolder& temp) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.Path())) {
        if (entry.is_regular_file()) {
            files.emplace_back(entry.path().string(),
                               rivode::test::ReadFileBytes(entry.path().string()));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

Listing Sorted(Listing listing) {
    std::sort(listing.begin(), listing.end());
    return listing;
}

template <typename BackEnd>
class ProfileKeyBackEndTest : public ::testing::Test {
protected:
    std::unique_ptr<YProfileStore> Open(bool readOnly = false) {
        return BackEnd::Open(temp_, readOnly);
    }
    TempFolder temp_;
};

TYPED_TEST_SUITE(ProfileKeyBackEndTest, rivode::test::StoreBackEnds,
                 rivode::test::StoreBackEndNames);

TYPED_TEST(ProfileKeyBackEndTest, ValuesOfEveryKindSurviveReopeningTheStore) {
    const std::uint8_t bytes[] = {0x00, 0x7f, 0x80, 0xff};
    {
        auto store = this->Open();
        YProfileKey key(store->GetRootKey(), u"Sessions\\Work\\Server 1");
        ASSERT_TRUE(key.SetDword(u"Port", 0xFFFFFFFFu));
        ASSERT_TRUE(key.SetString(u"Host", u"h\u00e9 <&> \"'=x"));
        ASSERT_TRUE(key.SetString(u"Empty", u""));
        ASSERT_TRUE(key.SetString(u"Blank", u" \t "));
        ASSERT_TRUE(key.SetBinary(u"Colors", bytes, sizeof bytes));
        ASSERT_TRUE(key.SetBinary(u"None", nullptr, 0));
        ASSERT_TRUE(key.SetStringArray(u"List", {u"first", u"", u" spaced ", u"  "}));
        ASSERT_TRUE(key.SetStringArray(u"Nothing", {}));
    }
    auto store = this->Open();
    YProfileKey key(store->GetRootKey(), u"Sessions\\Work\\Server 1");
    EXPECT_EQ(DwordOf(key, u"Port"), 0xFFFFFFFFu);
    EXPECT_EQ(StringOf(key, u"Host"), YUnicodeString(u"h\u00e9 <&> \"'=x"));
    EXPECT_EQ(StringOf(key, u"Empty"), YUnicodeString());
    EXPECT_EQ(StringOf(key, u"Blank"), YUnicodeString(u" \t "));
    std::uint8_t read[4] = {};
    std::uint32_t size = sizeof read;
    ASSERT_TRUE(key.GetBinary(u"Colors", read, size));
    EXPECT_TRUE(size == 4 && std::equal(read, read + 4, bytes));
    size = 9;
    ASSERT_TRUE(key.GetBinary(u"None", nullptr, size));
    EXPECT_EQ(size, 0u);
    YStringArray list;
    ASSERT_TRUE(key.GetStringArray(u"List", list));
    EXPECT_EQ(list, (YStringArray{u"first", u"", u" spaced ", u"  "}));
    ASSERT_TRUE(key.GetStringArray(u"Nothing", list));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(Sorted(ListOf(key, true)), Sorted({{u"Port", ValueKindDword},
                                                 {u"Host", ValueKindString},
                                                 {u"Empty", ValueKindString},
                                                 {u"Blank", ValueKindString},
                                                 {u"Colors", ValueKindBinary},
                                                 {u"None", ValueKindBinary},
                                                 {u"List", ValueKindMultiString},
                                                 {u"Nothing", ValueKindMultiString}}));
}

TYPED_TEST(ProfileKeyBackEndTest, MissingKeysAndValuesReadAsAbsentAndValueNamesAreExact) {
    auto store = this->Open();
    YProfileKey missing(store->GetRootKey(), u"Nowhere\\Deeper");
    EXPECT_EQ(DwordOf(missing, u"x"), std::nullopt);
    EXPECT_TRUE(missing.GetStatus().IsSuccess());
    EXPECT_TRUE(ListOf(missing, true).empty() && ListOf(missing, false).empty());

    YProfileKey key(store->GetRootKey(), u"K");
    ASSERT_TRUE(key.SetDword(u"Name", 1));
    EXPECT_EQ(DwordOf(key, u"name"), std::nullopt);
    EXPECT_EQ(StringOf(key, u"Name"), std::nullopt) << "a value of another kind is not read";
    EXPECT_TRUE(key.DeleteValue(u"absent"));
    ASSERT_TRUE(key.SetString(u"Name", u"five"));
    EXPECT_EQ(StringOf(key, u"Name"), YUnicodeString(u"five"));
    EXPECT_EQ(DwordOf(key, u"Name").has_value(), !TypeParam::kAnotherKindReplaces);
    ASSERT_TRUE(key.DeleteValue(u"Name"));
    ASSERT_TRUE(key.DeleteValue(u"Name"));
    EXPECT_TRUE(ListOf(key, true).empty());
}

TYPED_TEST(ProfileKeyBackEndTest, GetBinaryAsksForTheLengthAndRefusesASmallBuffer) {
    auto store = this->Open();
    YProfileKey key(store->GetRootKey(), u"K");
    ASSERT_TRUE(key.SetBinary(u"b", "\1\2\3", 3));
    std::uint32_t size = 0;
    ASSERT_TRUE(key.GetBinary(u"b", nullptr, size));
    EXPECT_EQ(size, 3u);
    std::uint8_t buffer[3] = {9, 9, 9};
    size = 2;
    EXPECT_FALSE(key.GetBinary(u"b", buffer, size));
    EXPECT_EQ(buffer[0], 9);
}

TYPED_TEST(ProfileKeyBackEndTest, KeyNamesIgnoreCaseAndSubKeysAreDeletedWithAllTheyHold) {
    {
        auto store = this->Open();
        YProfileKey root(store->GetRootKey(), u"Sessions");
        ASSERT_TRUE(YProfileKey(root, u"Work\\Server").SetDword(u"Port", 22));
        ASSERT_TRUE(YProfileKey(root, u"Other").SetDword(u"Port", 23));
        EXPECT_EQ(DwordOf(YProfileKey(root, u"WORK\\server"), u"Port"), 22u);
        EXPECT_TRUE(store->GetRootKey().SubKeyExists(u"sessions\\work"));
        EXPECT_FALSE(root.SubKeyExists(u"Missing"));
    }
    auto store = this->Open();
    YProfileKey sessions(store->GetRootKey(), u"Sessions");
    EXPECT_EQ(Sorted(ListOf(sessions, false)).size(), 2u);
    ASSERT_TRUE(sessions.DeleteSubKey(u"work"));
    ASSERT_TRUE(sessions.DeleteSubKey(u"Never There"));
    EXPECT_FALSE(sessions.SubKeyExists(u"Work"));
    EXPECT_EQ(DwordOf(YProfileKey(sessions, u"Work\\Server"), u"Port"), std::nullopt);
    const Listing left = ListOf(sessions, false);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].first, u"Other");
    EXPECT_TRUE(IsSubKeyKind(left[0].second));
}

TYPED_TEST(ProfileKeyBackEndTest, LineBreaksInNamesAndTextsAreRefusedWithAReport) {
    auto store = this->Open();
    YProfileKey key(store->GetRootKey(), u"K");
    EXPECT_FALSE(key.SetString(u"line\nbreak", u"x"));
    EXPECT_EQ(key.GetStatus().GetMessageId(), static_cast<std::uint32_t>(EINVAL));
    EXPECT_FALSE(key.SetString(u"s", u"two\r\nlines"));
    EXPECT_FALSE(key.SetStringArray(u"z", {u"ok", u"bad\r"}));
    EXPECT_TRUE(ListOf(key, true).empty());
}

TYPED_TEST(ProfileKeyBackEndTest, ReadOnlyStoreNeverWrites) {
    {
        auto store = this->Open();
        ASSERT_TRUE(YProfileKey(store->GetRootKey(), u"K").SetDword(u"v", 1));
    }
    const auto before = StoredFiles(this->temp_);
    {
        auto store = this->Open(true);
        YProfileKey key(store->GetRootKey(), u"K");
        EXPECT_FALSE(key.IsWritable());
        ASSERT_TRUE(key.SetDword(u"v", 2));
        EXPECT_FALSE(key.Flush());
        EXPECT_FALSE(key.GetStatus().IsSuccess());
        YProfileKey created(store->GetRootKey(), u"New", true);
        EXPECT_FALSE(store->GetRootKey().DeleteSubKey(u"K"));
    }
    EXPECT_EQ(StoredFiles(this->temp_), before);
}

TYPED_TEST(ProfileKeyBackEndTest, FlushStoresNowAndAStoreWithNothingSetWritesNothing) {
    {
        auto store = this->Open();
        YProfileKey key(store->GetRootKey(), u"Missing", false);
        EXPECT_EQ(DwordOf(key, u"v"), std::nullopt);
        EXPECT_TRUE(key.Flush());
    }
    EXPECT_TRUE(StoredFiles(this->temp_).empty());
    auto store = this->Open();
    YProfileKey key(store->GetRootKey(), u"K");
    ASSERT_TRUE(key.SetDword(u"v", 3));
    ASSERT_TRUE(key.Flush());
    EXPECT_EQ(DwordOf(YProfileKey(this->Open()->GetRootKey(), u"K"), u"v"), 3u);
}

TYPED_TEST(ProfileKeyBackEndTest, SecurityValueIsStoredAsAList) {
    auto store = this->Open();
    YAccessControl access;
    ASSERT_TRUE(access.FromStrings({u"Users,allow,0x80000000"}));
    store->GetRootKey().SetSecurityValue(u"Security", access);
    YAccessControl read;
    ASSERT_TRUE(store->GetRootKey().GetSecurityValue(u"Security", read));
    EXPECT_EQ(read.ToStrings(), access.ToStrings());
    ASSERT_TRUE(store->GetRootKey().SetStringArray(u"Bad", {u"nonsense"}));
    EXPECT_FALSE(store->GetRootKey().GetSecurityValue(u"Bad", read));
    EXPECT_FALSE(store->GetRootKey().SetKeySecurity(&access));
}

// A tree copied into a store of the other back end and back comes out the same: the settings
// file carries a configuration without loss.
TYPED_TEST(ProfileKeyBackEndTest, CopyIntoTheOtherBackEndAndBackKeepsEveryValue) {
    TempFolder other;
    using Other = std::conditional_t<std::is_same_v<TypeParam, IniBackEnd>, XmlBackEnd, IniBackEnd>;
    {
        auto store = this->Open();
        YProfileKey server(store->GetRootKey(), u"Sessions\\Server");
        ASSERT_TRUE(server.SetDword(u"d", 5));
        ASSERT_TRUE(server.SetString(u"s", u"a \"b\"=c"));
        ASSERT_TRUE(server.SetBinary(u"b", "\1\2", 2));
        ASSERT_TRUE(server.SetStringArray(u"z", {u"item", u""}));
        ASSERT_TRUE(YProfileKey(server, u"Child\\Grandchild").SetString(u"deep", u"yes"));
    }
    {
        auto source = this->Open();
        auto destination = Other::Open(other, false);
        ASSERT_TRUE(CopyProfileKey(destination->GetRootKey(), source->GetRootKey()));
    }
    TempFolder back;
    {
        auto source = Other::Open(other, false);
        auto destination = TypeParam::Open(back, false);
        ASSERT_TRUE(CopyProfileKey(destination->GetRootKey(), source->GetRootKey()));
    }
    auto original = this->Open();
    auto copied = TypeParam::Open(back, false);
    YProfileKey a(original->GetRootKey(), u"Sessions\\Server");
    YProfileKey b(copied->GetRootKey(), u"Sessions\\Server");
    EXPECT_EQ(Sorted(ListOf(a, true)), Sorted(ListOf(b, true)));
    EXPECT_EQ(StringOf(b, u"s"), StringOf(a, u"s"));
    YStringArray list;
    ASSERT_TRUE(b.GetStringArray(u"z", list));
    EXPECT_EQ(list, (YStringArray{u"item", u""}));
    EXPECT_EQ(StringOf(YProfileKey(b, u"child\\grandchild"), u"deep"), YUnicodeString(u"yes"));
}

}  // namespace
