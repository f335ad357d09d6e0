// A session's own key map: the older stored forms it reads, what it writes, and when.
#include "tests/storage/MemoryKey.h"

#include <RivodeRavudaVU/ProfileKeymap.h>
#include <RivodeRavudaVU/YVariant.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

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
    EXPECT_EQ(*StoredLines(),
              (YStringArray{u"N\tVK_A                \t\"a\\r\\nb\"",
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
    AppendRecord(records, 0x0341, "SEND", "line\\r\\n");  // Ctrl, Extended
    AppendRecord(records, 0x0C4C, "LAUNCH",
                 "\xEF\xBB\xBF\"/opt/\xC3\xA9t\xC3\xA9/run\" -q");  // Alt, Shift
    AppendRecord(records, 0x44, "NO_SUCH_FUNCTION", "");            // skipped
    AppendRecord(records, 0x45, "caf\xE9", "");                     // Windows-1252, unknown
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
    ASSERT_TRUE(
        map.SetTextVariant(YVariant(YVariant::List{YVariant(u"C\tVK_X\tMENU_COPY")}), report));
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

TEST_F(ProfileKeymapTest, LinesFollowEveryKindOfChangeOfALoadedMap) {
    // Stored lines in a form of their own (no padding, lower case) are read, and the lines the
    // map gives are made from its mappings.
    Store(u"Keymap v5", YStringArray{u"n vk_f5 MENU_CONNECT", u"c VK_X MENU_COPY"});
    ProfileKeymap map;
    Load(map);
    EXPECT_FALSE(map.IsChanged());
    const YStringArray loaded = {u"N\tVK_F5               \tMENU_CONNECT",
                                 u"C\tVK_X                \tMENU_COPY"};
    EXPECT_EQ(map.GetLines(), loaded);

    const struct {
        const char* change;
        std::function<void(ProfileKeymap&)> apply;
        YStringArray lines;
    } cases[] = {
        {"new key",
         [](ProfileKeymap& m) { m.SetFunctionCode(0x70, kFunctionDisabled); },
         {u"N\tVK_F1               \tDISABLED", loaded[0], loaded[1]}},
        {"new code",
         [](ProfileKeymap& m) { m.SetFunctionCode(0x74, kFunctionDisabled); },
         {u"N\tVK_F5               \tDISABLED", loaded[1]}},
        {"new value",
         [](ProfileKeymap& m) {
             m.SetFunctionCode(0x74, kFunctionSend);
             m.SetValue(0x74, u"x");
         },
         {u"N\tVK_F5               \t\"x\"", loaded[1]}},
        {"removed",
         [](ProfileKeymap& m) { m.SetFunctionCode(0x04000058, kFunctionNone); },
         {loaded[0]}},
    };
    for (const auto& c : cases) {
        c.apply(map);
        EXPECT_EQ(map.GetLines(), c.lines) << c.change;
        EXPECT_TRUE(map.IsChanged()) << c.change;
        map.Revert();
        EXPECT_EQ(map.GetLines(), loaded) << c.change;
        EXPECT_FALSE(map.IsChanged()) << c.change;
    }
    // An unchanged map is not written again; a changed one is written in the current form.
    stored_->writes = 0;
    ASSERT_TRUE(Save(map));
    EXPECT_EQ(stored_->writes, 0);
    map.SetFunctionCode(0x70, kFunctionDisabled);
    ASSERT_TRUE(Save(map));
    EXPECT_EQ(StoredLines()->size(), 3u);
    EXPECT_EQ(StoredLines()->front(), u"N\tVK_F1               \tDISABLED");
}

TEST(KeymapTableTest, KeysSharingABucketSurviveRemovalsInAnyOrder) {
    // Key codes that differ by a multiple of the bucket count share a chain.
    std::vector<std::uint32_t> keys;
    for (std::uint32_t i = 0; i < 6; ++i) {
        keys.push_back(0x41 + i * Keymap::kBucketCount);
        keys.push_back(0x42 + i * Keymap::kBucketCount);
    }
    const std::vector<std::vector<std::size_t>> removalOrders = {
        {0, 1, 2}, {11, 10, 9}, {5, 0, 11}, {6, 7, 3, 4}, {1, 3, 5, 7, 9, 11}};
    for (const std::vector<std::size_t>& order : removalOrders) {
        Keymap map;
        for (const std::uint32_t key : keys) {
            map.Set({key, kFunctionSend, FromAscii(std::to_string(key)), {}});
        }
        std::vector<bool> removed(keys.size());
        for (const std::size_t index : order) {
            map.SetFunctionCode(keys[index], kFunctionNone);
            removed[index] = true;
        }
        EXPECT_EQ(map.GetSize(), keys.size() - order.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const KeyMapEntry* entry = map.Find(keys[i]);
            if (removed[i]) {
                EXPECT_EQ(entry, nullptr) << keys[i];
            } else {
                ASSERT_NE(entry, nullptr) << keys[i];
                EXPECT_EQ(entry->value, FromAscii(std::to_string(keys[i])));
            }
        }
        const Keymap copy(map);
        EXPECT_TRUE(copy == map);
    }
}

}  // namespace
}  // namespace rivode::test
