// A session's own key map: the older stored forms it reads, what it writes, and when.
#include "tests/storage/MemoryKey.h"

#include <RivodeRavudaVU/ProfileKeymap.h>
#include <RivodeRavudaVU/YVariant.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class ProfileKeymapTest : public ::testing::Test {
protected:
    void Store(std::u16string_view name, MemoryValues::Value value) {
        stored_->values.insert_or_assign(YUnicodeString(name), std::move(value));
    }
    void Load(ProfileKeymap& map) { map.Init(MakeMemoryKey(stored_).get(), u"Keymap v5", {}); }
    bool Save(ProfileKeymap& map) { return map.Save(*MakeMemoryKey(stored_)); }
    const YStringArray* StoredLines() const { return stored_->Find<YStringArray>(u"Keymap v5"); }

    std::shared_ptr<MemoryValues> stored_ = std::make_shared<MemoryValues>();
};

// One binary record of the older forms.
void AppendRecord(MemoryValues::Bytes& bytes, std::uint32_t key, std::string_view function,
                  std::string_view value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<std::uint8_t>(key >> shift));
    }
    bytes.insert(bytes.end(), function.begin(), function.end());
    bytes.push_back(0);
    bytes.insert(bytes.end(), value.begin(), value.end());
    bytes.push_back(0);
}

TEST_F(ProfileKeymapTest, Version4SplitsLaunchCommandsAndIsStoredAsVersion5) {
    const YStringArray v4 = {u"N\tVK_L\tLAUNCH(\"xterm -e top\")", u"N\tVK_A\t\"a\\r\\nb\""};
    Store(u"Keymap v4", v4);
    ProfileKeymap map;
    Load(map);
    EXPECT_EQ(map.GetVersion(), u"Keymap v4");
    EXPECT_EQ(map.GetValue(0x4C), u"xterm");
    EXPECT_EQ(map.GetArguments(0x4C), u"-e top");
    EXPECT_EQ(map.GetValue(0x41), u"a\\r\\nb");  // versioned: no doubling
    EXPECT_FALSE(map.IsChanged());

    ASSERT_TRUE(Save(map));
    ASSERT_NE(StoredLines(), nullptr);
    EXPECT_EQ(*StoredLines(), (YStringArray{u"N\tVK_A                \t\"a\\r\\nb\"",
                                            u"N\tVK_L                \tLAUNCH(\"xterm\")(\"-e top\")"}));
    EXPECT_EQ(*stored_->Find<YStringArray>(u"Keymap v4"), v4);  // the older value is left alone
    ProfileKeymap again;
    Load(again);
    EXPECT_EQ(again.GetVersion(), u"Keymap v5");
    EXPECT_TRUE(static_cast<const Keymap&>(again) == map);
}

TEST_F(ProfileKeymapTest, NewestStoredFormWins) {
    Store(u"Keymap v3", YStringArray{u"N\tVK_A\t\"v3 \\r\\n\""});
    ProfileKeymap unversioned;
    Load(unversioned);
    EXPECT_TRUE(unversioned.IsUnversioned());
    EXPECT_EQ(unversioned.GetValue(0x41), u"v3 \\\\r\\\\n");

    MemoryValues::Bytes records = {0, 0, 0, 1};
    AppendRecord(records, 0x41, "DISABLED", "");
    Store(u"Keymap", records);
    ProfileKeymap binary;
    Load(binary);
    EXPECT_EQ(binary.GetVersion(), u"Keymap");

    Store(u"Keymap v5", YStringArray{u"N\tVK_B\tDISABLED"});
    ProfileKeymap current;
    Load(current);
    EXPECT_EQ(current.GetVersion(), u"Keymap v5");
    EXPECT_EQ(current.GetSize(), 1u);
    EXPECT_EQ(current.GetFunctionCode(0x42), kFunctionDisabled);
    // Loaded from the current form and unchanged: nothing is written.
    stored_->writes = 0;
    ASSERT_TRUE(Save(current));
    EXPECT_EQ(stored_->writes, 0);
}

TEST_F(ProfileKeymapTest, BinaryRecordsConvertModifiersAndTexts) {
    MemoryValues::Bytes records = {0, 0, 0, 5};
    AppendRecord(records, 0x0341, "SEND", "line\\r\\n");            // Ctrl, Extended
    AppendRecord(records, 0x0C4C, "LAUNCH", "\xEF\xBB\xBF\"/opt/\xC3\xA9t\xC3\xA9/run\" -q");  // Alt, Shift
    AppendRecord(records, 0x44, "NO_SUCH_FUNCTION", "");                 // skipped
    AppendRecord(records, 0x45, "caf\xE9", "");                        // Windows-1252, unknown
    AppendRecord(records, 0x46, "VT_HELP", "");
    records.push_back(0);  // a cut record ends reading quietly
    Store(u"Keymap v2", records);
    ProfileKeymap map;
    Load(map);
    EXPECT_EQ(map.GetSize(), 3u);
    EXPECT_EQ(map.GetValue(0x06000041), u"line\\\\r\\\\n");
    EXPECT_EQ(map.GetFunctionCode(0x1800004C), kFunctionLaunch);
    EXPECT_EQ(map.GetValue(0x1800004C), u"/opt/\u00E9t\u00E9/run");
    EXPECT_EQ(map.GetArguments(0x1800004C), u" -q");
    EXPECT_EQ(map.GetFunctionCode(0x46), 268u);
    ASSERT_TRUE(Save(map));
    ASSERT_NE(StoredLines(), nullptr);
    EXPECT_EQ(StoredLines()->size(), 3u);
}

TEST_F(ProfileKeymapTest, SnapshotDecidesChangesAndLinesSetFromOutsideAreRead) {
    ProfileKeymap map;
    Load(map);
    EXPECT_FALSE(map.IsChanged());
    ASSERT_TRUE(Save(map));
    EXPECT_FALSE(stored_->Has(u"Keymap v5"));  // nothing mapped, nothing stored

    map.SetFunctionCode(0x70, kFunctionDisabled);
    EXPECT_TRUE(map.IsChanged());
    map.Revert();
    EXPECT_FALSE(map.IsChanged());
    EXPECT_EQ(map.GetFunctionCode(0x70), kFunctionNone);

    // Scripting and rivode set the lines; the mappings follow.
    YReportMessageParams report;
    ASSERT_TRUE(map.SetTextVariant(YVariant(YVariant::List{YVariant(u"C\tVK_X\tMENU_COPY")}),
                                   report));
    EXPECT_TRUE(map.IsChanged());
    EXPECT_EQ(FunctionCodeToName(map.GetFunctionCode(0x04000058)), u"MENU_COPY");
    ASSERT_TRUE(Save(map));
    EXPECT_EQ(*StoredLines(), YStringArray{u"C\tVK_X                \tMENU_COPY"});
    EXPECT_FALSE(map.IsChanged());

    ProfileKeymap copy;
    Load(copy);
    copy.SetFunctionCode(0x04000058, kFunctionNone);
    ProfileKeymap target(map);
    ASSERT_TRUE(target.CopyChangesFrom(copy));
    EXPECT_EQ(target.GetSize(), 0u);
}

}  // namespace
}  // namespace rivode::test
