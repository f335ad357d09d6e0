// What the settings transfer tests share: two configuration folders of the test's own, one of
// them registered as the default store at a time, filled with sessions and records; a sink that
// records the log and answers the passphrase question from a script; a disk that fills up under
// one path.
#pragma once

#include "tests/support/ProfileValues.h"
#include "tests/support/TempFolder.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/SettingsTransfer.h>
#include <RivodeRavudaVU/YEncryptedString.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace rivode::test {

inline YUnicodeString Encipher(const YUnicodeString& plaintext, const YUnicodeString& passphrase) {
    YEncryptedString value;
    EXPECT_TRUE(value.SetPlaintext(plaintext, passphrase));
    return value.GetEncryptedText();
}

struct LogLine {
    SettingsLogLevel level;
    std::string text;
};

class RecordingSink : public IImportExportSink {
public:
    void OnLogLine(SettingsLogLevel level, const YUnicodeString& text) override {
        lines.push_back({level, ToUtf8(text)});
    }
    ImportPassphraseAnswer AskImportPassphrase(const YUnicodeString&,
                                               YUnicodeString& passphrase) override {
        ++questions;
        if (answers.empty()) {
            return ImportPassphraseAnswer::SkipSensitiveData;
        }
        const auto [answer, text] = answers.front();
        answers.erase(answers.begin());
        passphrase = text;
        return answer;
    }
    std::size_t Count(SettingsLogLevel level) const {
        return std::count_if(lines.begin(), lines.end(),
                             [level](const LogLine& line) { return line.level == level; });
    }

    std::vector<LogLine> lines;
    std::vector<std::pair<ImportPassphraseAnswer, YUnicodeString>> answers;
    int questions = 0;
};

// Opens paths under a marker for writing with ENOSPC: a disk that fills up under one section.
class FullUnderFileSystem : public platform::ForwardingFileSystem {
public:
    explicit FullUnderFileSystem(std::string marker)
        : ForwardingFileSystem(platform::FileSystem::Current()), marker_(std::move(marker)) {}
    int OpenFile(const std::string& path, unsigned access, platform::OpenDisposition disposition,
                 unsigned mode, std::unique_ptr<platform::File>& file, bool* created) override {
        if ((access & platform::FileAccessWrite) != 0 && path.find(marker_) != std::string::npos) {
            return ENOSPC;
        }
        return ForwardingFileSystem::OpenFile(path, access, disposition, mode, file, created);
    }

private:
    std::string marker_;
};

class SettingsTransferTest : public ::testing::Test {
protected:
    static constexpr int kSessions = 300;

    SettingsTransferTest() {
        UseConfiguration("A");
        SetProfileStoreFactoryFunction([] { return current_; });
    }
    ~SettingsTransferTest() override {
        ForgetProcessRecords();
        SetProfileStoreFactoryFunction(nullptr);
        current_ = nullptr;
        SetConfigPassphrase(u"");
    }

    // Makes the configuration folder name the one every record opens, with nothing of the
    // previous one cached.
    void UseConfiguration(const std::string& name) {
        ForgetProcessRecords();
        factory_ = std::make_unique<YIniFileStoreFactory>(FromUtf8(temp_ / name));
        current_ = factory_.get();
    }
    static void ForgetProcessRecords() {
        FreeSessionDatabaseImpl();
        FreeGlobalConfig();
    }

    // The current configuration's passphrase: its check value stored and published.
    void EstablishPassphrase(const YUnicodeString& passphrase) {
        YProfileStore store;
        const YProfileKey global(store.GetRootKey(), kGlobalKeyName, true);
        ASSERT_TRUE(global.SetString(u"Config Passphrase", Encipher(passphrase, passphrase)));
        ASSERT_TRUE(global.Flush());
        FreeGlobalConfig();
        SetConfigPassphrase(passphrase.c_str());
    }

    // Sessions in seven folders with a value no record knows and a password under passphrase;
    // a firewall, a keyword list, button bars and a file-transfer record stored as keys.
    void FillConfiguration(const YUnicodeString& passphrase, int sessions = kSessions) {
        YProfileStore store;
        const YProfileKey& root = store.GetRootKey();
        for (int i = 0; i < sessions; ++i) {
            const std::string path =
                "Sessions\\Folder " + std::to_string(i % 7) + "\\Server " + std::to_string(i);
            const YProfileKey session(root, FromUtf8(path), true);
            ASSERT_TRUE(session.SetDword(kIsSessionValueName, 1));
            ASSERT_TRUE(session.SetString(u"Hostname", FromUtf8("host" + std::to_string(i))));
            ASSERT_TRUE(session.SetDword(u"Port", 2000 + i));
            ASSERT_TRUE(session.SetString(u"Value Of A Newer Version", u"kept ü"));
            ASSERT_TRUE(session.SetString(
                u"Password V2", Encipher(FromUtf8("secret" + std::to_string(i)), passphrase)));
            ASSERT_TRUE(session.Flush());
        }
        const YProfileKey firewall(root, u"Firewalls\\Gate", true);
        ASSERT_TRUE(firewall.SetString(u"Type", u"SOCKS5"));
        ASSERT_TRUE(firewall.SetString(u"Address", u"gate.example"));
        const YProfileKey keywords(root, u"Keywords\\Errors", true);
        ASSERT_TRUE(keywords.SetStringArray(u"Keyword List V2", {u"error", u"fail"}));
        const YProfileKey bars(root, u"ButtonBarV5\\Default", true);
        ASSERT_TRUE(bars.SetStringArray(u"Buttons", {u"one", u"two"}));
        const YProfileKey types(root, u"FileTypes", true);
        ASSERT_TRUE(types.SetBinary(u"Table", "\x01\x02\x00\x03", 4));
        const YProfileKey global(root, kGlobalKeyName, true);
        ASSERT_TRUE(global.SetDword(u"MRU Count", 9));
        ASSERT_TRUE(global.SetString(u"Global Value Of A Newer Version", u"kept"));
    }

    // An export of sessions whose passwords are under "alpha", then an empty configuration "B"
    // under "beta": the import meets a file whose passphrase does not match.
    void ExportThenSwitchToAnotherPassphrase(int sessions) {
        EstablishPassphrase(u"alpha");
        FillConfiguration(u"alpha", sessions);
        RecordingSink exportSink;
        ASSERT_TRUE(Export(exportSink));
        UseConfiguration("B");
        EstablishPassphrase(u"beta");
    }

    // Every value of the current configuration, keyed as CollectValues keys the file's.
    ValueMap ConfigurationValues() {
        YProfileStore store(true);
        ValueMap values;
        CollectValues(store.GetRootKey(), "", values);
        return values;
    }
    static ValueMap Below(const ValueMap& values, const std::string& prefix) {
        ValueMap below;
        for (const auto& [where, value] : values) {
            if (where.starts_with(prefix)) {
                below.emplace(where, value);
            }
        }
        return below;
    }
    ValueMap FileValues(const YUnicodeString& path) {
        YReportMessageParams report;
        const std::unique_ptr<YProfileStore> file = OpenSettingsFileStore(path, true, report);
        EXPECT_NE(file, nullptr) << ToUtf8(report.GetSingleLineTextTrimmed());
        ValueMap values;
        if (file != nullptr) {
            CollectValues(file->GetRootKey(), "", values);
        }
        return values;
    }

    SettingsTransferRequest Request() const {
        SettingsTransferRequest request;
        request.path = FromUtf8(temp_ / "out/settings");
        request.selection =
            kSettingsGlobalOptions | kSettingsSessions | kSettingsButtonBars | kSettingsCommands;
        request.sourceName = u"Test";
        return request;
    }
    YUnicodeString SettingsPath() const { return FromUtf8(temp_ / "out/settings.xml"); }
    YUnicodeString BackupPath() const { return FromUtf8(temp_ / "out/settings.bak"); }

    bool Export(RecordingSink& sink) {
        YReportMessageParams report;
        return ExportSettings(Request(), sink, report);
    }
    bool Import(RecordingSink& sink) {
        YReportMessageParams report;
        return ImportSettings(Request(), sink, report);
    }

    // A session's password as stored in the current configuration ("" when absent).
    YUnicodeString StoredPassword(int i) {
        YProfileStore store(true);
        const YProfileKey session(
            store.GetRootKey(), FromUtf8("Sessions\\Folder " + std::to_string(i % 7) + "\\Server " +
                                         std::to_string(i)));
        YUnicodeString text;
        (void)session.GetString(u"Password V2", text);
        return text;
    }

    TempFolder temp_;
    std::unique_ptr<YIniFileStoreFactory> factory_;
    static inline YProfileStoreFactory* current_ = nullptr;

    void SetUp() override { std::filesystem::create_directories(temp_ / "out"); }
};

}  // namespace rivode::test
