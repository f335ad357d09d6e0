// Values stored in text forms of their own: user-interface states, times, TLS versions, paths
// with variables and multi-line texts.
#include <RivodeRavudaVU/YProfileExplorerFrameState.h>
#include <RivodeRavudaVU/YProfileListViewState.h>
#include <RivodeRavudaVU/YProfileMultiLineString.h>
#include <RivodeRavudaVU/YProfilePath.h>
#include <RivodeRavudaVU/YProfileTabState.h>
#include <RivodeRavudaVU/YProfileTime.h>
#include <RivodeRavudaVU/YProfileTlsVersions.h>

#include "tests/storage/MemoryKey.h"

#include <DavaraZE/YwsPaths.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class TypedValueTextForm : public ::testing::Test {
protected:
    // Init a fresh value of type Value from text stored under "State".
    template <class Value>
    Value LoadFrom(std::u16string_view text, typename Value::ValueType defaultValue = {}) {
        key->SetString(u"State", text);
        Value value;
        value.Init(key.get(), u"State", defaultValue);
        return value;
    }
    template <class Value>
    YUnicodeString StoredForm(const typename Value::ValueType& state) {
        Value value(u"Stored", state);
        auto copy = MakeMemoryKey<YProfileCopyKey>(stored);
        EXPECT_TRUE(value.Save(*copy));
        return *stored->Find<YUnicodeString>(u"Stored");
    }

    std::shared_ptr<MemoryValues> stored = std::make_shared<MemoryValues>();
    std::unique_ptr<YProfileKey> key = MakeMemoryKey(stored);
};

TEST_F(TypedValueTextForm, ListViewStateReadsWidthsOrTriplesAndResetsOnOtherCounts) {
    auto widths = LoadFrom<YProfileListViewState>(u"0,3,4,5,2,100,200");
    EXPECT_FALSE(widths.flag);
    EXPECT_EQ(widths.second, 4u);
    ASSERT_EQ(widths.columns.size(), 2u);
    EXPECT_EQ(widths.columns[1], (YListViewColumn{200, true, 1}));

    auto triples = LoadFrom<YProfileListViewState>(u"1,3,4,5,2,100,0,1,200,1,0");
    ASSERT_EQ(triples.columns.size(), 2u);
    EXPECT_EQ(triples.columns[0], (YListViewColumn{100, false, 1}));
    EXPECT_EQ(StoredForm<YProfileListViewState>(triples), u"1,3,4,5,2,100,0,1,200,1,0");

    for (const char16_t* bad :
         {u"0,3,4,5,2,100,0,1,200,1", u"0,3,4,5,2", u"0,3,x,5,1,9", u"0,3,4,5,-1,9", u""}) {
        SCOPED_TRACE(ToUtf8(bad));
        auto reset = LoadFrom<YProfileListViewState>(bad);
        EXPECT_EQ(reset.Get(), YListViewState{});
        EXPECT_TRUE(reset.IsPending()) << "a malformed state is rewritten in a clean form";
    }
}

TEST_F(TypedValueTextForm, TabStateOlderFormIsConvertedAndWrittenAnew) {
    auto current = LoadFrom<YProfileTabState>(u"1,0,2;5,6,7");
    EXPECT_FALSE(current.secondFlag);
    EXPECT_EQ(current.list, (std::vector<std::int32_t>{5, 6, 7}));
    EXPECT_FALSE(current.IsPending());
    EXPECT_EQ(StoredForm<YProfileTabState>(current), u"1,0,2;5,6,7");
    EXPECT_EQ(StoredForm<YProfileTabState>(YTabState{}), u"1,1,0;");

    auto older = LoadFrom<YProfileTabState>(u"0,1,9,3");
    EXPECT_FALSE(older.firstFlag);
    EXPECT_EQ(older.number, 3);
    EXPECT_EQ(older.list, (std::vector<std::int32_t>{0})) << "the missing fifth field is 0";
    EXPECT_TRUE(older.IsPending());
    ASSERT_TRUE(older.Save(*key));
    EXPECT_EQ(*stored->Find<YUnicodeString>(u"State"), u"0,1,3;0");

    EXPECT_EQ(LoadFrom<YProfileTabState>(u"1,1;x").Get(), YTabState{});
    EXPECT_EQ(LoadFrom<YProfileTabState>(u"1,1,1,1,1,1").Get(), YTabState{});
}

TEST_F(TypedValueTextForm, ExplorerFrameStateTakesFirstNumberAsFlag) {
    auto state = LoadFrom<YProfileExplorerFrameState>(u"5,-1,200");
    EXPECT_TRUE(state.flag);
    EXPECT_EQ(state.first, -1);
    EXPECT_EQ(StoredForm<YProfileExplorerFrameState>(state), u"1,-1,200");
    EXPECT_EQ(LoadFrom<YProfileExplorerFrameState>(u"1,2").Get(), YExplorerFrameState{});
}

TEST_F(TypedValueTextForm, TimeIsStoredAsUniversalTimeText) {
    using namespace std::chrono;
    const auto instant = sys_days{2024y / May / 3} + 14h + 5min + 9s + 123ms;
    const YFileTime time = YFileTime::FromSystemTime(instant);
    EXPECT_EQ(StoredForm<YProfileTime>(time), u"2024:05:03:14:05:09:123");
    auto loaded = LoadFrom<YProfileTime>(u"2024:05:03:14:05:09:123");
    EXPECT_EQ(loaded.Get(), time);
    EXPECT_EQ(loaded.ToSystemTime(), time_point_cast<YFileTime::Ticks>(instant));
    EXPECT_EQ(StoredForm<YProfileTime>(YFileTime{}), u"1601:01:01:00:00:00:000");

    const YFileTime fallback{42};
    for (const char16_t* bad :
         {u"2023:02:29:00:00:00:000", u"2024:05:03:24:00:00:000", u"2024:05:03:14:05:09",
          u"2024-05-03", u"1600:01:01:00:00:00:000"}) {
        EXPECT_EQ(LoadFrom<YProfileTime>(bad, fallback).Get(), fallback);
    }
}

TEST_F(TypedValueTextForm, TlsVersionsUseTheirOwnValueName) {
    key->SetString(u"Enabled TLS Versions", u" tls1.3 ,TLS1.2");
    YProfileTlsVersions versions;
    ASSERT_TRUE(versions.Load(key.get()));
    EXPECT_TRUE(versions.IsEnabled(YTlsVersion::Tls12));
    EXPECT_FALSE(versions.IsEnabled(YTlsVersion::Tls11));
    ASSERT_TRUE(versions.Save(*key));
    EXPECT_EQ(*stored->Find<YUnicodeString>(u"Enabled TLS Versions"), u"TLS1.2,TLS1.3");

    key->SetString(u"Enabled TLS Versions", u"TLS1.3,SSL9");
    EXPECT_FALSE(versions.Load(key.get())) << "unknown versions are not silently dropped";
}

class ProfilePathTest : public TypedValueTextForm {
protected:
    ProfilePath::Folders folders = {u"/home/u/.config/yarrowby/Config", u"/opt/quill",
                                    u"/home/u/Documents", u"/home/u/.ssh"};
};

TEST_F(ProfilePathTest, PathInsideAFolderIsStoredWithTheVariableOfTheLongestMatch) {
    ProfilePath path(folders, ProfilePath::AllFolders);
    EXPECT_EQ(path.Substitute(u"/HOME/U/Documents/logs/a.log"),
              u"${YWS_USER_DATA_PATH}/logs/a.log");
    EXPECT_EQ(path.Substitute(u"/home/u/.ssh"), u"${YWS_SSH_DATA_PATH}");
    EXPECT_EQ(path.Substitute(u"/home/u/Documents2/x"), u"/home/u/Documents2/x");
    EXPECT_EQ(path.Substitute(u"/tmp/x"), u"/tmp/x");
    EXPECT_EQ(path.Expand(u"${yws_install_path}/bin"), u"/opt/quill/bin");
    EXPECT_EQ(path.Expand(u"/x/${YWS_INSTALL_PATH}"), u"/x/${YWS_INSTALL_PATH}");

    folders[2] = u"/home/u";  // the user-data folder now holds the configuration folder
    EXPECT_EQ(ProfilePath(folders, ProfilePath::AllFolders)
                  .Substitute(u"/home/u/.config/yarrowby/Config/s.txt"),
              u"${YWS_CONFIG_PATH}/s.txt");
    ProfilePath userDataOnly(folders, ProfilePath::UserDataFolder);
    EXPECT_EQ(userDataOnly.Substitute(u"/home/u/.config/yarrowby/Config/s.txt"),
              u"${YWS_USER_DATA_PATH}/.config/yarrowby/Config/s.txt");
    EXPECT_EQ(userDataOnly.Expand(u"${YWS_CONFIG_PATH}/s.txt"), u"${YWS_CONFIG_PATH}/s.txt")
        << "a variable whose folder is not considered stays as it is";
}

TEST_F(ProfilePathTest, FoldersComeFromTheCompanionLibraryUnlessTheModeExcludesThem) {
    const YUnicodeString config = GetYwsConfigPathSub();
    if (config.empty()) {
        GTEST_SKIP() << "the companion library knows no configuration folder here";
    }
    EXPECT_EQ(ProfilePath().Substitute(config + u"/x.log"), u"${YWS_CONFIG_PATH}/x.log");
    EXPECT_EQ(ProfilePath(ProfilePath::NoFolders).Substitute(config + u"/x.log"),
              config + u"/x.log");
}

TEST_F(ProfilePathTest, ValueHoldsExpandedPathAndStoresVariable) {
    key->SetString(u"Log Filename", u"${YWS_CONFIG_PATH}/Logs/session.log");
    ProfilePath path(folders, ProfilePath::AllFolders);
    ASSERT_TRUE(path.Init(key.get(), u"Log Filename", u""));
    EXPECT_EQ(path, u"/home/u/.config/yarrowby/Config/Logs/session.log");

    path = u"/home/u/Documents/other.log";
    ASSERT_TRUE(path.Save(*key));
    EXPECT_EQ(*stored->Find<YUnicodeString>(u"Log Filename"), u"${YWS_USER_DATA_PATH}/other.log");
}

TEST_F(TypedValueTextForm, MultiLineStringLoadSetsNameAndEmptiesWhenAbsent) {
    key->SetStringArray(u"Description", {u"first", u"second"});
    YProfileMultiLineString text(u"Other", {u"old"});
    EXPECT_TRUE(text.Load(key.get(), u"Description"));
    EXPECT_EQ(text.GetText(), u"first\r\nsecond");

    EXPECT_FALSE(text.Load(key.get(), u"Missing"));
    EXPECT_TRUE(text.empty());
    EXPECT_TRUE(text.IsPending());
    EXPECT_TRUE(text.GetBaseline().empty());

    text.SetText(u"a\nb\r\n\rc");
    EXPECT_EQ(text.Get(), (YStringArray{u"a", u"b", u"", u"c"}));
}

}  // namespace
}  // namespace rivode::test
