// When typed values write themselves: Init, Load, Save, Commit, Revert, copying keys, and
// records declared as tables.
#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileTable.h>

#include "tests/storage/MemoryKey.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class TypedValueLifecycle : public ::testing::Test {
protected:
    std::shared_ptr<MemoryValues> stored = std::make_shared<MemoryValues>();
    std::unique_ptr<YProfileKey> key = MakeMemoryKey(stored);
};

TEST_F(TypedValueLifecycle, InitWritesTheDefaultOfAnAbsentValueAndOtherwiseOnlyChanges) {
    YProfile<int> absent;
    EXPECT_FALSE(absent.Init(key.get(), u"Idle Timeout", 300));
    EXPECT_EQ(absent, 300);
    EXPECT_TRUE(absent.IsPending());
    EXPECT_TRUE(absent.Save(*key));
    EXPECT_EQ(*stored->Find<std::uint32_t>(u"Idle Timeout"), 300u);
    EXPECT_FALSE(absent.IsPending());

    key->SetString(u"Title Bar", u"build host");
    YProfileString present;
    EXPECT_TRUE(present.Init(key.get(), u"Title Bar", u"default"));
    EXPECT_EQ(present, u"build host");
    EXPECT_FALSE(present.IsPending());
    stored->writes = 0;
    EXPECT_TRUE(absent.Save(*key) && present.Save(*key));
    EXPECT_EQ(stored->writes, 0) << "saved and unchanged values are not written again";

    present = u"Build host";  // case differences are changes
    EXPECT_TRUE(present.IsChanged());
    EXPECT_TRUE(present.Save(*key));
    EXPECT_EQ(*stored->Find<YUnicodeString>(u"Title Bar"), u"Build host");
}

TEST_F(TypedValueLifecycle, AnotherKeyReceivesLoadedValuesAndACopyKeyEvenUnchangedDefaults) {
    key->SetDword(u"Trace Level", 4);
    YProfile<unsigned int> loaded(u"Trace Level", 0);
    YProfile<unsigned int> constructed(u"Raw EOL Mode", 0);
    EXPECT_TRUE(loaded.Load(key.get()));
    EXPECT_EQ(loaded, 4u);

    auto otherValues = std::make_shared<MemoryValues>();
    auto other = MakeMemoryKey(otherValues);
    EXPECT_TRUE(loaded.Save(*other) && constructed.Save(*other));
    EXPECT_EQ(*otherValues->Find<std::uint32_t>(u"Trace Level"), 4u);
    EXPECT_FALSE(otherValues->Has(u"Raw EOL Mode"));

    auto copy = MakeMemoryKey<YProfileCopyKey>(otherValues);
    const YProfileKey& asKey = *copy;  // the dynamic type decides, not the static one
    EXPECT_TRUE(constructed.Save(asKey));
    EXPECT_EQ(*otherValues->Find<std::uint32_t>(u"Raw EOL Mode"), 0u);
}

TEST_F(TypedValueLifecycle, StoredNumbersAreNarrowedToTheTypeAndOthersReadAsAbsent) {
    // Whether Init found a usable value, and the value it ends with.
    const auto read = [this](std::uint32_t number, auto fallback) {
        key->SetDword(u"Number", number);
        YProfile<decltype(fallback)> value;
        const bool found = value.Init(key.get(), u"Number", fallback);
        return std::pair(found, value.Get());
    };
    EXPECT_EQ(read(0x12345678, short{0}), std::pair(true, short{0x5678}));
    EXPECT_EQ(read(0x12345678, std::uint8_t{0}), std::pair(true, std::uint8_t{0x78}));
    EXPECT_EQ(read(0xFFFFFFFF, 0), std::pair(true, -1));
    EXPECT_EQ(read(0xFFFFFFFF, 0ul), std::pair(true, 0xFFFFFFFFul));
    EXPECT_EQ(read(2, YTriState::Off), std::pair(true, YTriState::Global));
    EXPECT_EQ(read(3, YTriState::On), std::pair(false, YTriState::On)) << "not one of the three";

    key->SetString(u"Rows", u"24");
    YProfile<int> rows;
    EXPECT_FALSE(rows.Init(key.get(), u"Rows", 25)) << "a value of another kind";
    EXPECT_EQ(rows, 25);
    rows = 9;
    EXPECT_FALSE(rows.Load(nullptr));
    EXPECT_FALSE(rows.Load(MakeMemoryKey(std::make_shared<MemoryValues>()).get()));
    EXPECT_EQ(rows, 9) << "Load of an absent value keeps the current one";
}

TEST_F(TypedValueLifecycle, BooleanStoredAsSevenReadsTrueAndIsWrittenBackAsOne) {
    key->SetDword(u"Log Screen", 7);
    YProfile<bool> flag;
    EXPECT_TRUE(flag.Init(key.get(), u"Log Screen", false));
    EXPECT_TRUE(flag);
    flag = false;
    flag = true;
    EXPECT_FALSE(flag.IsChanged()) << "an edit that ends where it began is no change";
    flag.Commit();
    EXPECT_FALSE(flag.IsPending());
    EXPECT_TRUE(flag.Load(key.get()));
    ASSERT_TRUE(flag.Save(*key));
    EXPECT_EQ(*stored->Find<std::uint32_t>(u"Log Screen"), 1u);
}

TEST_F(TypedValueLifecycle, CommitMakesEditPendingAndRevertReturnsToBaseline) {
    key->SetDword(u"Rows", 24);
    YProfile<int> rows;
    rows.Init(key.get(), u"Rows", 25);
    rows = 40;
    rows.Revert();
    EXPECT_EQ(rows, 24);

    rows = 50;
    rows.CommitAll();
    EXPECT_FALSE(rows.IsChanged());
    EXPECT_TRUE(rows.IsPending());
    rows = 60;
    rows.RevertAll();
    EXPECT_EQ(rows, 50);
    ASSERT_TRUE(rows.Save(*key));
    EXPECT_EQ(*stored->Find<std::uint32_t>(u"Rows"), 50u);
}

TEST_F(TypedValueLifecycle, RefusedWriteLeavesValuePendingForNextSave) {
    YProfile<int> value;
    value.Init(nullptr, u"Columns", 80);
    stored->refuseWrites = true;
    EXPECT_FALSE(value.Save(*key));
    EXPECT_TRUE(value.IsPending());
    stored->refuseWrites = false;
    EXPECT_TRUE(value.Save(*key));
    EXPECT_EQ(*stored->Find<std::uint32_t>(u"Columns"), 80u);
}

TEST_F(TypedValueLifecycle, CopyFromTakesValueOnlyAndRefusesOtherTypes) {
    YProfile<int> source(u"Source", 5), target(u"Target", 2);
    EXPECT_TRUE(target.CopyFrom(source));
    EXPECT_EQ(target, 5);
    EXPECT_EQ(target.GetName(), u"Target");
    EXPECT_EQ(target.GetBaseline(), 2);
    EXPECT_FALSE(target.CopyFrom(YProfile<short>(u"Other", 3)));
    EXPECT_EQ(target, 5);
}

// A record declared as a table, as configuration records declare theirs.
class SampleRecord : public YProfileTableRecord<SampleRecord> {
public:
    YProfile<bool> logMode;
    YProfile<int> idleTimeout;
    YProfileString title;

    static const YProfileTable<SampleRecord>& Table() {
        static const auto table = YProfileTable<SampleRecord>()
                                      .Add(&SampleRecord::logMode, u"Log Mode", false)
                                      .Add(&SampleRecord::idleTimeout, u"Idle Timeout", 300)
                                      .Add(&SampleRecord::title, u"Title Bar", u"");
        return table;
    }
};

TEST_F(TypedValueLifecycle, TableRecordSavesMissingAndChangedMembersAndCopiesChangesOnly) {
    key->SetDword(u"Idle Timeout", 600);
    SampleRecord record;
    record.Init(key.get());
    EXPECT_EQ(record.idleTimeout, 600);
    EXPECT_FALSE(record.IsChanged());
    stored->writes = 0;
    ASSERT_TRUE(record.Save(*key));
    EXPECT_EQ(stored->writes, 2) << "the two members missing from the store";
    record.title = u"edited";
    EXPECT_TRUE(record.IsChanged());
    stored->writes = 0;
    ASSERT_TRUE(record.Save(*key));
    EXPECT_EQ(stored->writes, 1);

    SampleRecord defaults;
    defaults.Init(nullptr);
    defaults.CommitAll();
    defaults.title = u"from default session";
    SampleRecord session;
    session.Init(nullptr);
    session.idleTimeout = 42;
    ASSERT_TRUE(session.CopyChangesFrom(defaults));
    EXPECT_EQ(session.title, u"from default session");
    EXPECT_EQ(session.idleTimeout, 42) << "unchanged in the source, so kept";
    session.RevertAll();
    EXPECT_EQ(session.idleTimeout, 300);
}

// A record with a renamed member, for the names records share.
class RenamedRecord : public YProfileTableRecord<RenamedRecord> {
public:
    YProfileStringList remembered;
    YProfileString title;

    static const YProfileTable<RenamedRecord>& Table() {
        static const auto table =
            YProfileTable<RenamedRecord>()
                .Add(&RenamedRecord::remembered, u"Remembered Sessions List V2",
                     rivode::rows::Renamed(u"Remembered Sessions List"), {})
                .Add(&RenamedRecord::title, u"Title Bar", u"");
        return table;
    }
};

TEST_F(TypedValueLifecycle, TableRecordsShareTheirNamesAndARenamedRowStillReadsTheOlderName) {
    key->SetStringArray(u"Remembered Sessions List", {u"a", u"b"});
    RenamedRecord loaded;
    loaded.Init(key.get());
    RenamedRecord fresh;
    fresh.Init(nullptr);
    EXPECT_EQ(loaded.remembered.Get(), (YStringArray{u"a", u"b"}));
    EXPECT_EQ(loaded.remembered.GetName(), u"Remembered Sessions List V2");
    EXPECT_EQ(loaded.title.GetName().data(), fresh.title.GetName().data())
        << "every record of a table refers to the table's one copy of a name";
    ASSERT_TRUE(loaded.Save(*key));
    EXPECT_NE(stored->Find<YStringArray>(u"Remembered Sessions List V2"), nullptr);

    // A copy keeps its name when the value it was copied from, which owned it, is gone.
    auto original = std::make_unique<YProfile<int>>(u"Columns", 80);
    const YProfile<int> copy(*original);
    original.reset();
    EXPECT_EQ(copy.GetName(), u"Columns");
}

}  // namespace
}  // namespace rivode::test
