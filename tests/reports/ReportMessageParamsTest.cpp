#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YMessageTable.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include "platform/SystemError.h"
#include "tests/davaraze/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

constexpr std::uint32_t kTwoInserts = 0xE1370F01;
constexpr std::uint32_t kNoInserts = 0x61370F02;
constexpr std::uint32_t kTwoLines = 0x61370F03;
constexpr std::uint32_t kHostOnly = 0x61370F04;
constexpr std::uint32_t kCombining = 0x61370F05;
constexpr std::uint32_t kEnglishOnly = 0x61370F06;
constexpr std::uint32_t kStopsEarly = 0x61370F07;
constexpr std::uint32_t kAbsent = 0xE13FFFFF;

class ReportText : public ::testing::Test {
protected:
    void SetUp() override {
        source_.AddText(kMessageLanguageEnglish, kTwoInserts, u"Copy %1 to %3.\r\n");
        source_.AddText(kMessageLanguageEnglish, kNoInserts, u"Nothing to insert.\r\n");
        source_.AddText(kMessageLanguageEnglish, kTwoLines, u"First line\r\nsecond line.\r\n");
        source_.AddText(kMessageLanguageFrenchCanada, kTwoLines,
                        u"Premi\u00e8re ligne\r\ndeuxi\u00e8me ligne.\r\n");
        source_.AddText(kMessageLanguageEnglish, kEnglishOnly, u"Only in English.\r\n");
        source_.AddText(kMessageLanguageEnglish, kStopsEarly, u"%1%0 and %3\r\n");
        host_.AddText(kMessageLanguageEnglish, kHostOnly, u"From the host: %1\r\n");
        host_.AddText(kMessageLanguageEnglish, kTwoLines, u"The host's own text.\r\n");
        host_.AddText(kMessageLanguageEnglish, kCombining, u"%1(%2, line %3)\r\n");
        rivode::RegisterHostMessageTable(&host_);
    }
    void TearDown() override {
        rivode::RegisterHostMessageTable(nullptr);
        rivode::SetMessageLanguage(0);
    }

    YMessageTable source_;
    YMessageTable host_;
};

TEST_F(ReportText, StringsMustCoverTheHighestInsert) {
    YReportMessageParams report(kTwoInserts, &source_);
    report.AddString(u"a");
    report.AddString(u"b");
    EXPECT_EQ(YUnicodeString(report.GetText()), u"Copy %1 to %3.\r\n");

    YReportMessageParams enough(kTwoInserts, &source_);
    for (const char16_t* text : {u"a", u"b", u"c", u"surplus"}) {
        enough.AddString(text);
    }
    EXPECT_EQ(YUnicodeString(enough.GetText()), u"Copy a to c.\r\n");

    YReportMessageParams extra(kNoInserts, &source_);
    extra.AddString(u"ignored");
    EXPECT_EQ(YUnicodeString(extra.GetText()), u"Nothing to insert.\r\n");

    // An insert after %0 still counts: too few strings keep the whole text raw.
    YReportMessageParams early(kStopsEarly, &source_);
    early.AddString(u"a");
    EXPECT_EQ(YUnicodeString(early.GetText()), u"%1");
}

TEST_F(ReportText, OperatingSystemErrorsUseTheSystemsText) {
    YReportMessageParams report;
    SetSystemErrorReport(report, ENOENT);
    EXPECT_EQ(report.GetMessageId(), static_cast<std::uint32_t>(ENOENT));
    std::string expected;
    ASSERT_TRUE(rivode::platform::GetSystemErrorText(ENOENT, expected));
    EXPECT_EQ(YUnicodeString(report.GetText()), rivode::FromUtf8(expected) + u"\r\n");

    YReportMessageParams unknown;
    SetSystemErrorReport(unknown, 99999);
    EXPECT_EQ(YUnicodeString(unknown.GetText()),
              u"Could not retrieve the error text for error code 0x0001869f.\r\n");
}

TEST_F(ReportText, TrimmedAndSingleLineVariants) {
    YReportMessageParams trimmed(kTwoLines, &source_);
    EXPECT_EQ(YUnicodeString(trimmed.GetTextTrimmed()), u"First line\r\nsecond line.");
    YReportMessageParams singleLine(kTwoLines, &source_);
    EXPECT_EQ(YUnicodeString(singleLine.GetSingleLineText()), u"First line second line. ");
    YReportMessageParams both(kTwoLines, &source_);
    EXPECT_EQ(YUnicodeString(both.GetSingleLineTextTrimmed()), u"First line second line.");
    // Trimming removes exactly one final line break or blank, once.
    EXPECT_EQ(YUnicodeString(both.GetSingleLineTextTrimmed()), u"First line second line.");
}

TEST_F(ReportText, SourceComesBeforeTheHostsTable) {
    YReportMessageParams own(kTwoLines, &source_);
    EXPECT_EQ(YUnicodeString(own.GetTextTrimmed()), u"First line\r\nsecond line.");
    YReportMessageParams host(kHostOnly, &source_);
    host.AddString(u"yes");
    EXPECT_EQ(YUnicodeString(host.GetTextTrimmed()), u"From the host: yes");
    rivode::RegisterHostMessageTable(nullptr);
    YReportMessageParams gone(kHostOnly, &source_);
    EXPECT_EQ(YUnicodeString(gone.GetTextTrimmed()),
              u"Could not retrieve the error text for error code 0x61370f04.");
}

TEST_F(ReportText, FrenchFromTheLocaleWithEnglishForMissingTexts) {
    rivode::test::ScopedEnvironment environment;
    environment.Set("LC_ALL", "");
    environment.Set("LC_MESSAGES", "fr_CA.UTF-8");
    EXPECT_EQ(rivode::GetMessageLanguage(), kMessageLanguageFrenchCanada);
    YReportMessageParams french(kTwoLines, &source_);
    EXPECT_EQ(YUnicodeString(french.GetTextTrimmed()),
              u"Premi\u00e8re ligne\r\ndeuxi\u00e8me ligne.");
    YReportMessageParams english(kEnglishOnly, &source_);
    EXPECT_EQ(YUnicodeString(english.GetTextTrimmed()), u"Only in English.");
    YReportMessageParams library(rivode::msg::PassphrasesDoNotMatch);
    EXPECT_EQ(YUnicodeString(library.GetTextTrimmed()),
              u"Les phrases de passe ne correspondent pas.");

    environment.Set("LC_MESSAGES", "fr_FR.UTF-8");
    EXPECT_EQ(rivode::GetMessageLanguage(), kMessageLanguageEnglish);
    rivode::SetMessageLanguage(kMessageLanguageFrenchCanada);
    EXPECT_EQ(rivode::GetMessageLanguage(), kMessageLanguageFrenchCanada);
}

TEST_F(ReportText, CachedTextLivesUntilTheReportIsChanged) {
    YReportMessageParams report(kNoInserts, &source_);
    const char16_t* first = report.GetText();
    EXPECT_EQ(report.GetTextLength(), 20u);
    // Setting only the id keeps the text made for the old one; SetMessage starts afresh.
    report.SetMessageId(kTwoLines);
    EXPECT_EQ(report.GetText(), first);
    EXPECT_EQ(YUnicodeString(report.GetText()), u"Nothing to insert.\r\n");
    report.SetMessage(kAbsent);
    EXPECT_EQ(report.GetTextLength(), 0u);
    EXPECT_EQ(report.GetSource(), nullptr);
    EXPECT_EQ(YUnicodeString(report.GetTextTrimmed()),
              u"Could not retrieve the error text for error code 0xe13fffff.");
}

TEST_F(ReportText, SetMessageClearsEverythingButTheCategory) {
    YReportMessageParams report(kTwoInserts, &source_);
    report.SetCategory(7);
    report.AddString(u"x");
    report.SetOrigin("Loader", 12);
    report.SetContextValue(99);
    report.SetMessage(kNoInserts);
    EXPECT_EQ(report.GetCategory(), 7);
    EXPECT_TRUE(report.GetStrings().empty());
    EXPECT_EQ(report.GetOriginText(), nullptr);
    EXPECT_EQ(report.GetOriginNumber(), 0u);
    EXPECT_EQ(report.GetContextValue(), 0u);
}

TEST_F(ReportText, CopyAndAssignmentCarryTheReportButNotItsText) {
    YReportMessageParams original(kNoInserts, &source_);
    original.SetCategory(3);
    original.AddString(u"one");
    original.SetOrigin("Parser", 4);
    original.SetContextValue(0x1234567890ull);
    original.GetText();
    original.SetMessageId(kTwoLines);  // original keeps its old text; copies must not

    YReportMessageParams copy(original);
    EXPECT_EQ(copy.GetCategory(), 3);
    EXPECT_EQ(copy.GetStrings(), YStringArray{u"one"});
    EXPECT_EQ(copy.GetSource(), &source_);
    EXPECT_STREQ(copy.GetOriginText(), "Parser");
    EXPECT_EQ(copy.GetOriginNumber(), 4u);
    EXPECT_EQ(copy.GetContextValue(), 0x1234567890ull);
    EXPECT_EQ(copy.GetTextLength(), 0u);
    EXPECT_EQ(YUnicodeString(copy.GetTextTrimmed()), u"First line\r\nsecond line.");

    YReportMessageParams assigned(kAbsent);
    assigned.SetCategory(9);
    assigned.GetText();
    assigned = original;
    EXPECT_EQ(assigned.GetCategory(), 9);
    EXPECT_EQ(assigned.GetMessageId(), kTwoLines);
    EXPECT_EQ(assigned.GetTextLength(), 0u);
    EXPECT_EQ(YUnicodeString(assigned.GetTextTrimmed()), u"First line\r\nsecond line.");

    YReportMessageParams viaInterface;
    viaInterface.Assign(&original);
    EXPECT_EQ(viaInterface.GetMessageId(), kTwoLines);
    EXPECT_EQ(viaInterface.GetCategory(), -1);
    viaInterface.Assign(nullptr);
    EXPECT_EQ(viaInterface.GetMessageId(), kTwoLines);
}

TEST_F(ReportText, TextWithOriginCombinesThroughTheGivenMessage) {
    YReportMessageParams report(kNoInserts, &source_);
    EXPECT_EQ(YUnicodeString(report.GetTextWithOrigin(kCombining)), u"Nothing to insert.\r\n");
    report.SetOrigin("Importer", 0xFFFFFFFF);
    EXPECT_EQ(YUnicodeString(report.GetTextWithOrigin(kCombining)),
              u"Nothing to insert.\r\n(Importer, line -1)\r\n");
}

TEST_F(ReportText, NarrowStringsAreUtf8AndNumbersAreFormattedFirst) {
    YReportMessageParams report(kTwoInserts, &source_);
    report.AddString("caf\xC3\xA9");
    report.AddString(std::string("\xE2\x82\xAC"));
    report.AddString(static_cast<const char*>(nullptr));
    report.AddFormatted(u"%1!08x!", std::uint32_t{0xBEEF});
    report.AddFormatted(u"%1!I64u!", std::uint64_t{1} << 40);
    report.AddFormatted(u"%1!bogus!", std::uint32_t{42});
    EXPECT_EQ(report.GetStrings(),
              (YStringArray{u"caf\u00e9", u"\u20ac", u"", u"0000beef", u"1099511627776", u"42"}));
}

TEST_F(ReportText, LabelsKeepTheirInsertsAndLoseTheFinalBlank) {
    EXPECT_EQ(LoadMessageString(rivode::msg::LogFilesFilter), u"Log Files (%1)");
    EXPECT_EQ(LoadMessageString(kTwoLines, &source_), u"First line second line.");
}

}  // namespace
