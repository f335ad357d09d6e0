#include <DavaraZE/YMessageStrings.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YMessageTable.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include "reports/MessageFormatter.h"

#include <gtest/gtest.h>

namespace rivode::test {
const YMessageTable& GetHostMessageTableForTest();
}

namespace {

using rivode::reports::FindHighestInsert;

std::u16string_view TextOf(const YMessageTable& table, std::uint32_t id, std::uint16_t language) {
    std::u16string_view text;
    EXPECT_TRUE(table.FindText(id, language, text)) << std::hex << id;
    return text;
}

// Both compiled tables: the library's own and the host's.
class CompiledTable : public ::testing::TestWithParam<const YMessageTable* (*)()> {
protected:
    const YMessageTable& Table() const { return *GetParam()(); }
};

TEST_P(CompiledTable, LanguagesHoldTheSameIdsAndInserts) {
    const std::vector<std::uint32_t> english = Table().GetIds(kMessageLanguageEnglish);
    ASSERT_FALSE(english.empty());
    EXPECT_EQ(Table().GetIds(kMessageLanguageFrenchCanada), english);
    for (const std::uint32_t id : english) {
        const std::u16string_view en = TextOf(Table(), id, kMessageLanguageEnglish);
        const std::u16string_view fr = TextOf(Table(), id, kMessageLanguageFrenchCanada);
        EXPECT_EQ(FindHighestInsert(en), FindHighestInsert(fr)) << std::hex << id;
        EXPECT_TRUE(en.ends_with(u"\r\n")) << std::hex << id;
        EXPECT_TRUE(fr.ends_with(u"\r\n")) << std::hex << id;
        // Every insert must format once its strings are there, in both languages.
        const YStringArray strings(FindHighestInsert(en), u"7");
        YUnicodeString out;
        EXPECT_TRUE(rivode::reports::FormatMessageText(en, strings, {}, out)) << std::hex << id;
        EXPECT_TRUE(rivode::reports::FormatMessageText(fr, strings, {}, out)) << std::hex << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Reports, CompiledTable,
                         ::testing::Values(
                             +[] { return &rivode::GetLibraryMessageTable(); },
                             +[] { return &rivode::test::GetHostMessageTableForTest(); }));

// Each line of a multi-line source text ends in "\r\n"; ids that reports compare stay fixed.
TEST(LibraryTable, MultiLineTextsEndEachLineAndIdsStayFixed) {
    EXPECT_EQ(TextOf(rivode::GetLibraryMessageTable(), 0xE1380009, kMessageLanguageEnglish),
              u"The folder specified using /F on the command line is not valid:\r\n\r\n'%1'\r\n");
    EXPECT_EQ(rivode::msg::TypedValueConvertFailed, 0xE104006Bu);
}

TEST(MessageTable, LanguageFallsBackToEnglishAndLaterTextsReplace) {
    YMessageTable table;
    static constexpr YMessageTableEntry kEnglish[] = {{2, u"two\r\n"}, {1, u"one\r\n"}};
    table.AddTexts(kMessageLanguageEnglish, kEnglish);
    table.AddText(kMessageLanguageFrenchCanada, 1, u"un\r\n");
    table.AddText(kMessageLanguageEnglish, 2, u"deux?\r\n");
    table.AddText(kMessageLanguageEnglish, 2, u"TWO\r\n");
    EXPECT_EQ(TextOf(table, 1, kMessageLanguageFrenchCanada), u"un\r\n");
    EXPECT_EQ(TextOf(table, 2, kMessageLanguageFrenchCanada), u"TWO\r\n");
    EXPECT_EQ(TextOf(table, 2, 0x0407), u"TWO\r\n");
    std::u16string_view text;
    EXPECT_FALSE(table.FindText(3, kMessageLanguageEnglish, text));
    EXPECT_EQ(table.GetIds(kMessageLanguageEnglish), (std::vector<std::uint32_t>{1, 2}));
}

TEST(MessageLanguage, OnlyCanadianFrenchLocalesChooseFrench) {
    for (const char* name : {"fr_CA", "fr_CA.UTF-8", "fr_CA.ISO-8859-1@euro", "fr_CA@x"}) {
        EXPECT_EQ(rivode::MessageLanguageFromLocale(name), kMessageLanguageFrenchCanada) << name;
    }
    for (const char* name :
         {"", "C", "C.UTF-8", "POSIX", "en_CA.UTF-8", "fr_FR.UTF-8", "fr", "fr_CAN", "fr_ca"}) {
        EXPECT_EQ(rivode::MessageLanguageFromLocale(name), kMessageLanguageEnglish) << name;
    }
}

}  // namespace

// The companion library's labels come from this library's table once it is loaded, in the
// user's language; ids the table lacks keep the companion library's own text.
TEST(CompanionLibraryTexts, ComeFromTheLibraryTableInTheUsersLanguage) {
    const std::uint32_t id = rivode::msg::FunctionTypeSendString;
    const std::uint16_t language = rivode::GetMessageLanguage();
    rivode::SetMessageLanguage(kMessageLanguageFrenchCanada);
    const YUnicodeString french = YLoadMessageString(id, u"-");
    const YUnicodeString expectedFrench = LoadMessageString(id);
    rivode::SetMessageLanguage(kMessageLanguageEnglish);
    const YUnicodeString english = YLoadMessageString(id, u"-");
    rivode::SetMessageLanguage(language);
    EXPECT_EQ(french, expectedFrench);
    EXPECT_NE(french, english);
    EXPECT_NE(english, u"-");
    EXPECT_EQ(YLoadMessageString(0x6138FFFF, u"fallback"), u"fallback");
}
