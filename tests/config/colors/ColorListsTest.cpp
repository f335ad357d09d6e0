// Color schemes and ANSI palettes: the lines both ways, the built-in lists, selection, the list
// operations and what a save stores.
#include "tests/storage/MemoryKey.h"

#include <RivodeRavudaVU/ProfileColorLists.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YMessageTable.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class ColorListsTest : public ::testing::Test {
protected:
    ColorListsTest() {
        for (std::uint32_t id = 0x61370063; id <= 0x61370089; ++id) {
            host_.AddText(kMessageLanguageEnglish, id, FromAscii("Name" + std::to_string(id & 0xFF)));
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
    EXPECT_EQ(schemes.size(), 21u);
    EXPECT_FALSE(schemes.IndexOf(u"Name120").has_value());
    EXPECT_EQ(schemes.current.name, u"Name135");
    EXPECT_EQ(schemes.current.palette, u"Name135");
    EXPECT_EQ(schemes.current.foreground[7], MakeColor(0x65, 0x7B, 0x83));
    EXPECT_EQ(schemes.current.background[0], MakeColor(0xFD, 0xF6, 0xE3));

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
    EXPECT_EQ(again.size(), 22u);
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
    ASSERT_EQ(palettes.size(), 15u);
    EXPECT_EQ(palettes.current.name, u"Name99");  // the standard palette, first
    EXPECT_EQ(palettes.current.colors[1], MakeColor(0xA0, 0, 0));     // red
    EXPECT_EQ(palettes.current.colors[3], MakeColor(0xA0, 0xA0, 0));  // yellow
    EXPECT_EQ(palettes.current.colors[9], MakeColor(0xFF, 0, 0));     // red bold
    EXPECT_EQ(palettes.current.colors[15], MakeColor(0xFF, 0xFF, 0xFF));
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
    ASSERT_TRUE(palettes.Rename(u"Sand Dunes", u"SAND DUNES", report));  // its own name, new case
    EXPECT_TRUE(palettes.Remove(u"name99"));
    const YStringArray names = palettes.GetNames();
    ASSERT_EQ(names.size(), 14u);
    EXPECT_EQ(names[0], u"SAND DUNES");
    EXPECT_EQ(names[1], u"Name101");
    ASSERT_TRUE(Save(palettes));
    ASSERT_NE(stored_->Find<YStringArray>(u"ANSI Color Palettes"), nullptr);
    EXPECT_EQ(stored_->Find<YStringArray>(u"ANSI Color Palettes")->size(), 14u);
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

}  // namespace
}  // namespace rivode::test
