#include <RivodeRavudaVU/SettingsTransfer.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct Click {
    SettingsSelectionBit bit;
    bool on;
};

struct SelectionCase {
    const char* name;
    bool terminalLaunchable;
    std::vector<Click> clicks;
    unsigned mask;
    bool buttonBarsEnabled;
    bool commandsEnabled;
};

// The boxes that a larger set covers follow it: checked while disabled, unchecked when the user
// gets them back.
TEST(SettingsSelectionTest, ClicksFollowTheEnablingRules) {
    const unsigned all =
        kSettingsGlobalOptions | kSettingsSessions | kSettingsButtonBars | kSettingsCommands;
    const std::vector<SelectionCase> cases = {
        {"initial", true, {}, all, false, false},
        {"global off frees commands",
         true,
         {{kSettingsGlobalOptions, false}},
         kSettingsSessions | kSettingsButtonBars,
         false,
         true},
        {"both off frees button bars",
         true,
         {{kSettingsGlobalOptions, false}, {kSettingsSessions, false}},
         0,
         true,
         true},
        {"user picks button bars alone",
         true,
         {{kSettingsGlobalOptions, false}, {kSettingsSessions, false}, {kSettingsButtonBars, true}},
         kSettingsButtonBars,
         true,
         true},
        {"global back covers both again",
         true,
         {{kSettingsGlobalOptions, false},
          {kSettingsSessions, false},
          {kSettingsGlobalOptions, true}},
         kSettingsGlobalOptions | kSettingsButtonBars | kSettingsCommands,
         false,
         false},
        {"a disabled box ignores clicks", true, {{kSettingsCommands, false}}, all, false, false},
        {"commands need the terminal product",
         false,
         {{kSettingsGlobalOptions, false}},
         kSettingsSessions | kSettingsButtonBars,
         false,
         true},
        {"scheduled tasks hidden without the file-transfer product",
         true,
         {{kSettingsScheduledTasks, true}},
         all,
         false,
         false},
    };
    for (const SelectionCase& c : cases) {
        SettingsSelection selection(false, c.terminalLaunchable);
        for (const Click& click : c.clicks) {
            (void)selection.SetChecked(click.bit, click.on);
        }
        EXPECT_EQ(selection.GetMask(), c.mask) << c.name;
        EXPECT_EQ(selection.IsEnabled(kSettingsButtonBars), c.buttonBarsEnabled) << c.name;
        EXPECT_EQ(selection.IsEnabled(kSettingsCommands), c.commandsEnabled) << c.name;
    }
}

TEST(SettingsSelectionTest, OkNeedsACheckedShownBoxAndAPath) {
    SettingsSelection selection(true, false);
    EXPECT_TRUE(selection.CanAccept(u"settings"));
    EXPECT_FALSE(selection.CanAccept(u""));
    ASSERT_TRUE(selection.SetChecked(kSettingsGlobalOptions, false));
    ASSERT_TRUE(selection.SetChecked(kSettingsSessions, false));
    // Button Bars is hidden here, so its box does not count even though it is free now.
    EXPECT_FALSE(selection.CanAccept(u"settings"));
    ASSERT_TRUE(selection.SetChecked(kSettingsScheduledTasks, true));
    EXPECT_TRUE(selection.CanAccept(u"settings"));
}

TEST(SettingsFileNamesTest, TheThreeFilesShareFolderAndBaseName) {
    const std::vector<std::pair<const char16_t*, const char16_t*>> cases = {
        {u"/home/u/settings.xml", u"/home/u/settings"},
        {u"/home/u/settings", u"/home/u/settings"},
        {u"/home/u/my.settings.txt", u"/home/u/my.settings"},
        {u"settings.xml", u"./settings"},
        {u"/home/u/.hidden", u"/home/u/.hidden"},
        {u"/home/v.d/settings", u"/home/v.d/settings"},
    };
    for (const auto& [path, base] : cases) {
        const SettingsFileNames names = SettingsFileNames::FromPath(path);
        const YUnicodeString expected(base);
        EXPECT_EQ(names.settings, expected + u".xml") << rivode::ToUtf8(path);
        EXPECT_EQ(names.backup, expected + u".bak") << rivode::ToUtf8(path);
        EXPECT_EQ(names.log, expected + u".log") << rivode::ToUtf8(path);
    }
}

}  // namespace
