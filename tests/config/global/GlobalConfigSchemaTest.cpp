// The schema of the global record: the names each product's sub-record uses, and the values
// whose stored forms or defaults follow older ones.
#include "tests/config/global/GlobalConfigTestSupport.h"

namespace rivode::test {
namespace {

class GlobalSchemaTest : public GlobalConfigTest {};

// Each product keeps its own values beside the others' under names that say whose they are.
TEST_F(GlobalSchemaTest, ProductValuesAreNamedForTheirProduct) {
    const struct {
        int product;
        bool integrated;
        std::vector<std::pair<std::u16string_view, std::uint32_t>> dwords;
        std::vector<std::u16string_view> absent;
    } cases[] = {
        {3,
         false,
         {{u"Use Dockable Session Manager", 1},
          {u"Offer Help", 1},
          {u"QTM Never Check For Updates", 0},
          {u"Auto Session", 0}},
         {u"Show Toolbar QFL", u"Offer HelpX", u"QFL Never Check For Updates"}},
        {6,
         false,
         {{u"Use Dockable Session Manager QFL", 0},
          {u"Offer HelpX", 1},
          {u"QFL Never Check For Updates", 0},
          {u"Auto Session QFL", 0}},
         {u"Show Toolbar", u"Offer Help", u"QTM Never Check For Updates"}},
        {9, false, {{u"Show Toolbar QFL", 1}, {u"Offer HelpFR", 1}}, {u"Offer HelpX"}},
        // Integrated, the terminal product keeps the file-transfer product's values too.
        {3, true, {{u"Show Toolbar", 1}, {u"Show Toolbar QFL", 1}, {u"Offer HelpX", 1}}, {}},
        // The file-transfer product never keeps the terminal product's.
        {6, true, {{u"Show Toolbar QFL", 1}}, {u"Show Toolbar"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "product " << c.product << " integrated " << c.integrated);
        std::filesystem::remove_all(MainRoot());
        Write(*Read(c.product, c.integrated));
        const auto stored = Stored();
        for (const auto& [name, value] : c.dwords) {
            EXPECT_EQ(DwordOf(*stored, name), value) << ToUtf8(name);
        }
        for (std::u16string_view name : c.absent) {
            EXPECT_EQ(DwordOf(*stored, name), std::nullopt) << ToUtf8(name);
        }
    }
    EXPECT_EQ(StringOf(*Stored(), u"QFL Update Prompt Date"), u"1601:01:01:00:00:00:000");
}

TEST_F(GlobalSchemaTest, AutoSessionFollowsTheOlderSwitchesWhenAbsent) {
    const struct {
        int product;
        std::string lines;
        std::uint32_t autoSession;
    } cases[] = {
        {3, "", 0},
        {3, "D:\"Use Auto Session\"=00000001\r\n", 1},
        {3, "D:\"Use Auto Session\"=00000001\r\nD:\"Use Remembered Sessions\"=00000001\r\n", 3},
        {3, "D:\"Use Auto Session\"=00000001\r\nD:\"Auto Session\"=00000002\r\n", 2},
        // The file-transfer products cannot open both: 3 reads as 0, stored or derived.
        {6, "D:\"Auto Session QFL\"=00000003\r\n", 0},
        {9, "D:\"Use Auto Session QFL\"=00000001\r\nD:\"Use Remembered Sessions QFL\"=00000001\r\n",
         0},
        {6, "D:\"Auto Session QFL\"=00000002\r\n", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        WriteValueFile(GlobalFile(), c.lines);
        const YRefPtr<GlobalConfig> record = Read(c.product);
        EXPECT_EQ(record->productConfig.autoSession, c.autoSession);
        // What was read as 0 is stored as 0 on the next save.
        Write(*record);
        const std::u16string_view name = c.product == 3 ? u"Auto Session" : u"Auto Session QFL";
        EXPECT_EQ(DwordOf(*Stored(), name), c.autoSession);
    }
}

TEST_F(GlobalSchemaTest, DockStatesReadBothFormsAndWriteTwelveNumbers) {
    const struct {
        std::string stored;
        std::u16string_view written;  // empty: the stored text is left alone
        YDockWindowState::Side side;
    } cases[] = {
        {"3,1,0,10,20,30,40,250,120,2,1,1", u"", YDockWindowState::Bottom},
        // The older nine numbers: the three added fields take their defaults.
        {"1,0,1,10,20,30,40,250,120", u"1,0,1,10,20,30,40,250,120,0,0,0", YDockWindowState::Right},
        {" 2 , 1,0,0,0,0,0,200,200,0,0,70000", u"", YDockWindowState::Top},
        // Neither form: the default, written over the stored text.
        {"1,2,3", u"3,1,0,0,0,0,0,200,120,0,0,0", YDockWindowState::Bottom},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        WriteValueFile(GlobalFile(), "S:\"Command Manager Window State\"=" + c.stored + "\r\n");
        const YRefPtr<GlobalConfig> record = Read();
        EXPECT_EQ(record->commandManagerWindowState.side, c.side);
        Write(*record);
        const YUnicodeString expected =
            c.written.empty() ? FromUtf8(c.stored) : YUnicodeString(c.written);
        EXPECT_EQ(StringOf(*Stored(), u"Command Manager Window State"), expected);
    }
    WriteValueFile(GlobalFile(),
                   "S:\"Command Manager Window State\"=0,1,0,0,0,0,0,1,1,0,0,70000\r\n");
    EXPECT_EQ(Read()->commandManagerWindowState.autoHide, static_cast<std::int16_t>(70000));
}

}  // namespace
}  // namespace rivode::test
