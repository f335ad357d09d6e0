// Color schemes and ANSI palettes: the lines both ways, the built-in lists, selection, the list
// operations and what a save stores.
#include "tests/storage/MemoryKey.h"
#include "tests/support/TempFolder.h"

#include <RivodeRavudaVU/ProfileColorLists.h>
#include <RivodeRavudaVU/ProfileCustomColors.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YMessageTable.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class ColorListsTest : public ::testing::Test {
protected:
    ColorListsTest() {
        for (std::uint32_t id = 0x61370063; id <= 0x61370089; ++id) {
            host_.AddText(kMessageLanguageEnglish, id,
                          FromAscii("Name" + std::to_string(id & 0xFF)));
        }
        // A built-in added only when new, named like an earlier one, is left out.
        host_.AddText(kMessageLanguageEnglish, 0x61370078, u"NAME135");
        RegisterHostMessageTable(&host_);
    }
    ~ColorListsTest() override { RegisterHostMessageTable(nullptr); }

    template <class List>
    void Load(List& list, std::u16string_view name) {
        list.Init(MakeMemoryKey(stored_).get(), YUnicodeString(name), {});
    }
    bool Save(YProfileData& list) { return list.Save(*MakeMemoryKey(stored_)); }

    YMessageTable host_;
    std::shared_ptr<MemoryValues> stored_ = std::make_shared<MemoryValues>();
};

TEST_F(ColorListsTest, WithoutStoredSchemesTheBuiltInsAreListedAndTheFirstIsCurrent) {
    stored_->values[u"Color Schemes"] = YStringArray{};  // empty counts as absent
    ProfileColorSchemeListV2 schemes;
    Load(schemes, u"Color Schemes");
    EXPECT_FALSE(schemes.IndexOf(u"Name120").has_value());
    EXPECT_EQ(schemes.current.name, u"Name135");
    EXPECT_EQ(schemes.current.palette, u"Name135");

    // Unchanged built-ins are not stored.
    stored_->writes = 0;
    ASSERT_TRUE(Save(schemes));
    EXPECT_EQ(stored_->writes, 0);

    schemes.Select(u"name115");  // letter case ignored
    EXPECT_EQ(schemes.current.name, u"Name115");
    EXPECT_EQ(schemes.current.palette, u"Name99");
    schemes.Select(u"no such scheme");
    EXPECT_EQ(schemes.current.name, u"Name135");
}

TEST_F(ColorListsTest, SchemeLineIsExactAndReadsBackTheSame) {
    ColorSchemeEntry scheme;
    scheme.name = u"Mine";
    scheme.palette = u"Deep";
    scheme.overstrikeBold = 0;
    scheme.enableBlink = 0;
    for (std::uint8_t slot = 0; slot < kColorSlotCount; ++slot) {
        scheme.foreground[slot] = MakeColor(slot, 0x10 + slot, 0xA0 + slot);
        scheme.background[slot] = MakeColor(0xF0 + slot, 0x80, slot);
    }
    const YUnicodeString line = FormatColorSchemeLine(scheme);
    EXPECT_TRUE(line.starts_with(u"Mine,000100,0010A000,0111A100,"));
    EXPECT_TRUE(line.ends_with(u",F7800700,Deep"));
    ColorSchemeEntry read;
    ParseColorSchemeLine(line, read);
    EXPECT_EQ(read, scheme);

    // Through the list and the store.
    ProfileColorSchemeListV2 schemes;
    Load(schemes, u"Color Schemes");
    schemes.current = scheme;
    schemes.AddOrReplaceCurrent();
    ASSERT_TRUE(Save(schemes));
    ProfileColorSchemeListV2 again;
    Load(again, u"Color Schemes");
    EXPECT_TRUE(again.IsFromStore());
    EXPECT_EQ(again.size(), schemes.size());
    again.Select(u"MINE");
    EXPECT_EQ(again.current, scheme);
}

TEST_F(ColorListsTest, ShortOrBadFieldsKeepWhatTheRecordHad) {
    ColorSchemeEntry scheme;
    scheme.foreground.fill(MakeColor(1, 2, 3));
    ParseColorSchemeLine(u"Short,00zz01,FF000000,xx,Pal", scheme);
    EXPECT_EQ(scheme.name, u"Short");
    EXPECT_EQ(scheme.palette, u"Pal");
    EXPECT_EQ(scheme.overstrikeBold, 0);
    EXPECT_EQ(scheme.showUnderline, 1);  // not hexadecimal: kept
    EXPECT_EQ(scheme.enableBlink, 1);
    EXPECT_EQ(scheme.foreground[0], MakeColor(0xFF, 0, 0));
    EXPECT_EQ(scheme.foreground[1], MakeColor(1, 2, 3));
    EXPECT_EQ(scheme.foreground[2], MakeColor(1, 2, 3));
    EXPECT_EQ(scheme.background[0], 0xFFFFFFu);
}

TEST_F(ColorListsTest, PaletteColorsComeInPaletteOrder) {
    ProfileAnsiPaletteList palettes;
    Load(palettes, u"ANSI Color Palettes");
    EXPECT_EQ(palettes.current.name, u"Name99");  // the standard palette, first
    AnsiPalette palette;
    ParseAnsiPaletteLine(u"P,01020300,04050600", palette);
    EXPECT_EQ(palette.colors[0], MakeColor(1, 2, 3));
    EXPECT_EQ(palette.colors[1], MakeColor(4, 5, 6));
    EXPECT_EQ(FormatAnsiPaletteLine(palette).substr(0, 30), u"P,01020300,04050600,00000000,0");
}

TEST_F(ColorListsTest, ListOperationsKeepNamesUniqueAndOrderStable) {
    ProfileAnsiPaletteList palettes;
    Load(palettes, u"ANSI Color Palettes");
    YReportMessageParams report;
    EXPECT_FALSE(palettes.CheckNewName(u"  ", u"", report));
    EXPECT_EQ(report.GetMessageId(), msg::PaletteNameEmpty);
    EXPECT_FALSE(palettes.CheckNewName(u"a,b", u"", report));
    EXPECT_EQ(report.GetMessageId(), msg::PaletteNameHasComma);
    EXPECT_FALSE(palettes.Rename(u"Name100", u"name101", report));
    EXPECT_EQ(report.GetMessageId(), msg::PaletteExists);
    EXPECT_FALSE(palettes.Rename(u"Nothing", u"New", report));
    EXPECT_EQ(report.GetMessageId(), msg::ColorListNameUnknown);

    palettes.Select(u"Name100");
    ASSERT_TRUE(palettes.Rename(u"NAME100", u" Sand Dunes ", report));
    EXPECT_EQ(palettes.current.name, u"Sand Dunes");
    const std::size_t before = palettes.size();
    ASSERT_TRUE(palettes.Rename(u"Sand Dunes", u"SAND DUNES", report));  // its own name, new case
    EXPECT_TRUE(palettes.Remove(u"name99"));
    const YStringArray names = palettes.GetNames();
    ASSERT_EQ(names.size(), before - 1);
    EXPECT_EQ(names[0], u"SAND DUNES");
    EXPECT_EQ(names[1], u"Name101");
    ASSERT_TRUE(Save(palettes));
    ASSERT_NE(stored_->Find<YStringArray>(u"ANSI Color Palettes"), nullptr);
    EXPECT_EQ(stored_->Find<YStringArray>(u"ANSI Color Palettes")->size(), names.size());
}

TEST_F(ColorListsTest, LegacyBinarySchemeBecomesALineWithTheStandardPalette) {
    std::array<std::uint8_t, kLegacyColorSchemeSize> bytes{};
    bytes[0] = 0xEE;  // not read
    bytes[1] = 1;
    bytes[3] = 1;
    for (std::size_t i = 0; i < 16; ++i) {
        bytes[4 + 4 * i] = static_cast<std::uint8_t>(i);  // red
        bytes[6 + 4 * i] = 0xB0;                          // blue
    }
    const YUnicodeString line = ConvertLegacyColorScheme(u"Old", bytes);
    ColorSchemeEntry scheme;
    ParseColorSchemeLine(line, scheme);
    EXPECT_EQ(scheme.name, u"Old");
    EXPECT_EQ(scheme.palette, u"Standard");
    EXPECT_EQ(scheme.overstrikeBold, 1);
    EXPECT_EQ(scheme.showUnderline, 0);
    EXPECT_EQ(scheme.foreground[2], MakeColor(2, 0, 0xB0));
    EXPECT_EQ(scheme.background[7], MakeColor(15, 0, 0xB0));
}

TEST_F(ColorListsTest, SchemesOfTheOlderBinaryFormJoinTheBuiltInsUntilLinesAreStored) {
    TempFolder folder;
    YIniFileStoreFactory factory(folder.Path16());
    YProfileStore store(&factory);
    const YProfileKey global(store.GetRootKey(), u"Global", true);
    std::array<std::uint8_t, kLegacyColorSchemeSize> bytes{};
    bytes[1] = 1;
    bytes[4] = 0x12;   // foreground 0: red
    bytes[67] = 0x34;  // background 7: the unused fourth byte of its color
    bytes[64] = 0x56;  // background 7: red
    {
        const YProfileKey legacy(global, kLegacyColorSchemesKey, true);
        ASSERT_TRUE(legacy.SetBinary(u"Old", bytes.data(), kLegacyColorSchemeSize));
        ASSERT_TRUE(legacy.SetBinary(u"Name115", bytes.data(), kLegacyColorSchemeSize));
        ASSERT_TRUE(legacy.SetBinary(u"Cut", bytes.data(), 40));
        ASSERT_TRUE(legacy.SetBinary(u"A,B", bytes.data(), kLegacyColorSchemeSize));
        ASSERT_TRUE(legacy.SetString(u"Text", u"not a scheme"));
        ASSERT_TRUE(legacy.Flush());
    }

    ProfileColorSchemeListV2 schemes;
    EXPECT_FALSE(schemes.Init(&global, u"Color Schemes", {}));
    const YStringArray names = schemes.GetNames();
    ProfileColorSchemeListV2 builtIns;
    Load(builtIns, u"Color Schemes");
    ASSERT_EQ(names.size(), builtIns.size() + 1) << "only whole blocks under usable names join";
    EXPECT_EQ(names[2], u"Name115");  // a built-in of the same name is replaced where it stands
    EXPECT_EQ(names.back(), u"Old");
    schemes.Select(u"name115");
    EXPECT_EQ(schemes.current.palette, u"Standard");
    EXPECT_EQ(schemes.current.foreground[0], MakeColor(0x12, 0, 0));
    EXPECT_EQ(schemes.current.background[7], MakeColor(0x56, 0, 0));
    EXPECT_EQ(schemes.current.showUnderline, 0);

    ASSERT_TRUE(schemes.Save(global));
    YStringArray stored;
    ASSERT_TRUE(global.GetStringArray(u"Color Schemes", stored));
    EXPECT_EQ(stored.size(), names.size());

    // Once lines are stored, the older values are not read again.
    {
        const YProfileKey legacy(global, kLegacyColorSchemesKey);
        ASSERT_TRUE(legacy.SetBinary(u"Newer", bytes.data(), kLegacyColorSchemeSize));
        ASSERT_TRUE(legacy.Flush());
    }
    ProfileColorSchemeListV2 again;
    EXPECT_TRUE(again.Init(&global, u"Color Schemes", {}));
    EXPECT_EQ(again.GetNames(), names);
}

TEST_F(ColorListsTest, SchemesTheProgramReliesOnAreNeitherDeletedNorRenamed) {
    ProfileColorSchemeListV2 schemes;
    Load(schemes, u"Color Schemes");
    YReportMessageParams report;
    for (const std::u16string_view name : {u"name114", u"NAME117", u"Name118"}) {
        EXPECT_FALSE(schemes.CheckRemovable(name, report)) << ToUtf8(name);
        EXPECT_EQ(report.GetMessageId(), msg::ColorSchemeCannotBeDeleted);
        EXPECT_FALSE(schemes.CheckRenamable(name, report)) << ToUtf8(name);
        EXPECT_EQ(report.GetMessageId(), msg::ColorSchemeCannotBeRenamed);
    }
    EXPECT_TRUE(schemes.CheckRemovable(u"Name115", report));
    EXPECT_TRUE(schemes.CheckRenamable(u"Name115", report));
    // Only the scheme that follows the platform keeps its colors from edits.
    EXPECT_FALSE(schemes.CheckEditable(u"NAME118", report));
    EXPECT_EQ(report.GetMessageId(), msg::ColorSchemeFollowsSystem);
    EXPECT_TRUE(schemes.CheckEditable(u"Name114", report));
}

TEST_F(ColorListsTest, CustomColorsAreSixteenLittleEndianColors) {
    ProfileCustomColors colors(u"Custom Colors", {});
    colors.Init(MakeMemoryKey(stored_).get(), u"Custom Colors", {});
    EXPECT_EQ(colors.colors[15], MakeColor(0xFF, 0xFF, 0xFF));
    colors.colors[0] = MakeColor(1, 2, 3);
    colors.colors[15] = MakeColor(0xAA, 0xBB, 0xCC);
    ASSERT_TRUE(colors.Save(*MakeMemoryKey(stored_)));
    const auto* bytes = stored_->Find<MemoryValues::Bytes>(u"Custom Colors");
    ASSERT_NE(bytes, nullptr);
    ASSERT_EQ(bytes->size(), 64u);
    EXPECT_EQ((MemoryValues::Bytes(bytes->begin(), bytes->begin() + 4)),
              (MemoryValues::Bytes{1, 2, 3, 0}));
    EXPECT_EQ((MemoryValues::Bytes(bytes->end() - 4, bytes->end())),
              (MemoryValues::Bytes{0xAA, 0xBB, 0xCC, 0}));

    // A shorter block sets the colors it holds.
    stored_->values[u"Custom Colors"] = MemoryValues::Bytes{9, 8, 7, 0};
    ProfileCustomColors read(u"Custom Colors", {});
    read.Init(MakeMemoryKey(stored_).get(), u"Custom Colors", {});
    EXPECT_EQ(read.colors[0], MakeColor(9, 8, 7));
    EXPECT_EQ(read.colors[1], MakeColor(0xFF, 0xFF, 0xFF));
}

}  // namespace
}  // namespace rivode::test
