// Key and function names both ways, and the map's lookups, fallback and order.
#include <RivodeRavudaVU/Keymap.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

TEST(KeyNamesTest, NamesAndNumbersReadAsKeys) {
    const struct {
        std::u16string_view text;
        std::uint32_t code;
    } cases[] = {
        {u"VK_F5", 0x74},
        {u"VK_A", 0x41},
        {u"0x41", 0x41},
        {u"0X1b", 0x1B},
        {u"65", 65},
        {u"0101", 0101},  // octal after a leading 0
        {u"0", 0},
        {u"12  ", 12},
        {u"VK_ZOOM", 0x01020006},
        {u"VK_MULTIPLEC_ANDIDATE", 0x0100113D},
        {u"VK_YDIAERESIS", 0xFF},
        {u"VK_CONTEXT 3", 0x01100002},

        // Names are exact; numbers must be whole and fit in 32 bits.
        {u"vk_f5", kNoKeyCode},
        {u"VK_NOT", kNoKeyCode},
        {u"0x", kNoKeyCode},
        {u"12x", kNoKeyCode},
        {u"089", kNoKeyCode},
        {u"4294967296", kNoKeyCode},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyNameToCode(c.text), c.code) << ToUtf8(c.text);
    }
}

TEST(KeyNamesTest, CodesTakeTheFirstNameOrHexadecimal) {
    const struct {
        std::uint32_t code;
        std::u16string_view name;
    } cases[] = {
        {0x08, u"VK_BACK"},
        {0x5B, u"VK_LWIN"},
        {0x800000DF, u"VK_SSHARP"},
        {0x01020006, u"VK_ZOOM"},
        {0xDC, u"0xDC"},
        // The Windows bit is not taken off before naming.
        {0x4000005B, u"0x4000005B"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyCodeToName(c.code), c.name);
        if (c.name.starts_with(u"VK_")) {
            EXPECT_EQ(KeyNameToCode(c.name), c.code);
        }
    }
    EXPECT_EQ(KeyModifiersToString(0x1C000000), u"Alt-Ctrl-Shift-");
    EXPECT_EQ(KeyModifiersToString(0x52000041), u"Alt-Extended-Windows-");
    EXPECT_EQ(GetModifiers(0xDE000041), 0x5E000000u);
    EXPECT_EQ(GetUnmodifiedKey(0xDE000041), 0x80000041u);
}

TEST(KeyNamesTest, EveryFunctionNameReadsBackAsItsOwnCode) {
    // Every row's code is its index, and the table ends with an unnamed row.
    const auto table = GetKeymapFunctionTable();
    ASSERT_FALSE(table.empty());
    const std::uint32_t rows = static_cast<std::uint32_t>(table.size() - 1);
    for (std::uint32_t code = 0; code < rows; ++code) {
        EXPECT_EQ(table[code].code, code);
        EXPECT_EQ(FunctionNameToCode(FunctionCodeToName(code)), code) << code;
    }
    EXPECT_EQ(table[rows].name, u"");
    // Retired names read as their successors and are never written.
    EXPECT_EQ(FunctionNameToCode(u"MENU_TOGGLE_CHAT_WINDOW"), 64u);
    EXPECT_EQ(FunctionNameToCode(u"MENU_HEX_VIEW"), 69u);
    EXPECT_EQ(FunctionNameToCode(u"VT_HELP"), FunctionNameToCode(u"VT_F15"));
    EXPECT_EQ(FunctionCodeToName(FunctionNameToCode(u"VT_HELP")), u"VT_F15");
    EXPECT_EQ(FunctionNameToCode(u"menu_connect"), kNoKeyCode);
    EXPECT_EQ(FunctionCodeToName(rows), u"");
}

TEST(KeymapTest, SettingCodesKeepsTextsAndCodeZeroRemoves) {
    Keymap map;
    map.SetValue(0x41, u"ignored");  // no mapping yet: nothing happens
    EXPECT_EQ(map.GetSize(), 0u);
    map.SetFunctionCode(0x41, kFunctionSend);
    map.SetValue(0x41, u"text");
    map.SetArguments(0x41, u"args");
    map.SetFunctionCode(0x41, kFunctionRun);
    EXPECT_EQ(map.GetValue(0x41), u"text");
    EXPECT_EQ(map.GetArguments(0x41), u"args");
    map.SetFunctionCode(0x41, kFunctionNone);
    EXPECT_EQ(map.Find(0x41), nullptr);
    EXPECT_EQ(map.GetSize(), 0u);
}

TEST(KeymapTest, LookupsFallBackButCopiesHaveNoFallback) {
    Keymap map;
    map.SetFunctionCode(0x70, kFunctionDisabled);
    auto defaults = std::make_unique<Keymap>();
    FillDefaultMappings(*defaults);
    map.SetFallback(std::move(defaults));

    EXPECT_EQ(map.GetFunctionCode(0x70), kFunctionDisabled);  // its own mapping wins
    EXPECT_EQ(FunctionCodeToName(map.GetFunctionCode(0x71)), u"VT_PF2");
    EXPECT_EQ(map.GetValue(0x04000020), u"\\000");
    EXPECT_EQ(map.GetFunctionCode(0x42), kFunctionNone);

    Keymap copy(map);
    EXPECT_EQ(copy.GetFallback(), nullptr);
    EXPECT_EQ(copy.GetFunctionCode(0x71), kFunctionNone);
    EXPECT_FALSE(copy == map);  // one has a fallback, the other not
    copy.SetFallback(std::make_unique<Keymap>(*map.GetFallback()));
    EXPECT_TRUE(copy == map);
    copy.SetValue(0x70, u"different");
    EXPECT_FALSE(copy == map);
}

TEST(KeymapTest, SortedByModifiersThenByKey) {
    Keymap map;
    for (const std::uint32_t key : {0x04000020u, 0x80000041u, 0x74u, 0x02000021u, 0x41u}) {
        map.SetFunctionCode(key, kFunctionDisabled);
    }
    std::vector<std::uint32_t> order;
    for (const KeyMapEntry& entry : map.GetSortedEntries()) {
        order.push_back(entry.key);
    }
    // The character flag is no modifier: it sorts with the plain keys.
    EXPECT_EQ(order, (std::vector<std::uint32_t>{0x41, 0x74, 0x80000041, 0x02000021, 0x04000020}));
}

}  // namespace
}  // namespace rivode::test
