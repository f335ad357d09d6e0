// Export and import through the settings file seam, between two configuration folders of the
// test's own: what comes back, what the passphrase question decides, and what a failure leaves.
#include "config/SettingsTransferLog.h"
#include "tests/config/transfer/SettingsTransferTestSupport.h"
#include "tests/storage/FaultyFileSystem.h"

#include <RivodeRavudaVU/RivodeMessages.h>

#include <filesystem>

namespace rivode::test {
namespace {

// Everything the file holds comes back (the record defaults the export wrote included), and so
// does every value of every session, the ones no record knows too.
TEST_F(SettingsTransferTest, ExportThenImportIntoAnEmptyConfigurationLosesNothing) {
    EstablishPassphrase(u"same");
    FillConfiguration(u"same");
    RecordingSink exportSink;
    ASSERT_TRUE(Export(exportSink));
    const ValueMap exported = FileValues(SettingsPath());
    const ValueMap sessionsBefore = Below(ConfigurationValues(), "\\Sessions\\");

    UseConfiguration("B");
    EstablishPassphrase(u"same");
    RecordingSink importSink;
    ASSERT_TRUE(Import(importSink));
    EXPECT_EQ(importSink.questions, 0);
    EXPECT_EQ(importSink.Count(SettingsLogLevel::Error), 0u);

    const ValueMap imported = ConfigurationValues();
    EXPECT_EQ(Below(imported, "\\Sessions\\"), sessionsBefore);
    // Sessions come back as files of values, without a folder of their own.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp_ / "B/Sessions")) {
        EXPECT_FALSE(entry.is_directory() &&
                     std::filesystem::exists(entry.path().string() + ".ini"))
            << entry.path();
    }
    std::size_t compared = 0;
    for (const auto& [where, value] : exported) {
        // The passphrase in use, and the request to change it, belong to the configuration.
        if (where.starts_with("\\Security|") || where == "\\Global|Config Passphrase" ||
            where == "\\Global|Change Config Passphrase") {
            continue;
        }
        const auto found = imported.find(where);
        ASSERT_NE(found, imported.end()) << where;
        EXPECT_EQ(found->second, value) << where;
        ++compared;
    }
    EXPECT_GT(compared, kSessions * 5u);
    EXPECT_TRUE(exported.contains("\\Global|Tab Width")) << "record defaults were not exported";
    EXPECT_TRUE(exported.contains("\\Global|Global Value Of A Newer Version"));
    EXPECT_TRUE(exported.contains("\\FileTypes|Table"));
}

// The file's passwords were enciphered under another passphrase: a wrong answer is asked
// again, the right one re-enciphers every password under the importing configuration's.
TEST_F(SettingsTransferTest, MismatchedPassphraseReenciphersWithTheFilesPassphrase) {
    ExportThenSwitchToAnotherPassphrase(20);
    RecordingSink sink;
    sink.answers = {{ImportPassphraseAnswer::ImportSensitiveData, u"wrong"},
                    {ImportPassphraseAnswer::ImportSensitiveData, u"alpha"}};
    ASSERT_TRUE(Import(sink));
    EXPECT_EQ(sink.questions, 2);
    EXPECT_EQ(sink.Count(SettingsLogLevel::Warning), 1u);
    for (int i = 0; i < 20; ++i) {
        YEncryptedString stored;
        stored.SetEncryptedText(StoredPassword(i));
        YUnicodeString plaintext;
        ASSERT_TRUE(stored.GetPlaintext(plaintext, u"beta")) << i;
        EXPECT_EQ(ToUtf8(plaintext), "secret" + std::to_string(i));
    }
}

TEST_F(SettingsTransferTest, SkippingSensitiveDataImportsEverythingElse) {
    ExportThenSwitchToAnotherPassphrase(5);
    RecordingSink sink;
    sink.answers = {{ImportPassphraseAnswer::SkipSensitiveData, u""}};
    ASSERT_TRUE(Import(sink));
    const ValueMap imported = ConfigurationValues();
    EXPECT_TRUE(imported.contains("\\Sessions\\Folder 3\\Server 3|Hostname"));
    EXPECT_EQ(StoredPassword(3), u"");
    // The importing configuration keeps its own passphrase check value.
    YProfileStore store(true);
    YUnicodeString check;
    ASSERT_TRUE(
        YProfileKey(store.GetRootKey(), kGlobalKeyName).GetString(u"Config Passphrase", check));
    YEncryptedString checkValue;
    checkValue.SetEncryptedText(check);
    YUnicodeString plaintext;
    EXPECT_TRUE(checkValue.GetPlaintext(plaintext, u"beta"));
}

TEST_F(SettingsTransferTest, CancellingThePassphraseQuestionImportsNothing) {
    ExportThenSwitchToAnotherPassphrase(5);
    RecordingSink sink;
    sink.answers = {{ImportPassphraseAnswer::CancelImport, u""}};
    YReportMessageParams report;
    EXPECT_FALSE(ImportSettings(Request(), sink, report));
    EXPECT_EQ(report.GetMessageId(), rivode::msg::SettingsImportCancelled);
    EXPECT_TRUE(Below(ConfigurationValues(), "\\Sessions\\").empty());
}

// A settings file that cannot be written is logged and fails the export; the settings file
// that was there before is still there, as the .bak file.
TEST_F(SettingsTransferTest, FailedWriteLeavesThePreviousSettingsFileAsBackup) {
    FillConfiguration(u"", 3);
    RecordingSink first;
    ASSERT_TRUE(Export(first));
    const ValueMap previous = FileValues(SettingsPath());

    // The document's save cannot make its journal.
    std::filesystem::create_directory(temp_ / "out/settings.xml.journal");
    RecordingSink second;
    YReportMessageParams report;
    EXPECT_FALSE(ExportSettings(Request(), second, report));
    EXPECT_EQ(GetSystemErrorCause(report), EISDIR) << ToUtf8(report.GetText());
    EXPECT_EQ(FileValues(BackupPath()), previous);
    ASSERT_GE(second.Count(SettingsLogLevel::Error), 1u);
    const std::string log = ReadFileBytes(temp_ / "out/settings.log");
    EXPECT_TRUE(log.starts_with("\xEF\xBB\xBFinfo: ")) << log;
    EXPECT_NE(log.find("\r\nerr: "), std::string::npos) << log;
}

// A disk that fills up while the log is written: the sink still gets every line, and the last
// one says that the file missed some.
TEST_F(SettingsTransferTest, ALogFileThatMissesLinesIsReportedToTheSink) {
    RecordingSink sink;
    FaultyFileSystem faulty;
    faulty.faults = {{FileCall::Write, 2, ENOSPC}};  // the first line after the byte-order mark
    config::SettingsTransferLog log(sink);
    YReportMessageParams report;
    ASSERT_TRUE(log.Open(FromUtf8(temp_ / "transfer.log"), report));
    log.Info(rivode::msg::SettingsTransferFinished);
    log.Info(rivode::msg::SettingsTransferFinished);
    log.ReportFileError();
    ASSERT_EQ(sink.lines.size(), 3u);
    EXPECT_EQ(sink.lines.back().level, SettingsLogLevel::Warning);
    EXPECT_NE(sink.lines.back().text.find("transfer.log"), std::string::npos)
        << sink.lines.back().text;
}

// Without a previous settings file the location must take a new file before anything is
// written; when it does not, the export ends there.
TEST_F(SettingsTransferTest, UnwritableLocationEndsTheExportBeforeWriting) {
    FillConfiguration(u"", 1);
    RecordingSink sink;
    YReportMessageParams report;
    {
        FullUnderFileSystem full("settings.xml");
        platform::ScopedFileSystem installed(full);
        EXPECT_FALSE(ExportSettings(Request(), sink, report));
    }
    EXPECT_EQ(report.GetMessageId(), rivode::msg::SettingsFileNotUsable);
    EXPECT_FALSE(std::filesystem::exists(temp_ / "out/settings.xml"));
    ASSERT_FALSE(sink.lines.empty());
    EXPECT_EQ(sink.lines.back().level, SettingsLogLevel::Warning);
}

}  // namespace
}  // namespace rivode::test
