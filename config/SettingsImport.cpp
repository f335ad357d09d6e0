// Settings import: the sections of a settings file stored into the configuration.
#include <RivodeRavudaVU/SettingsTransfer.h>

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/HighlightConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YEncryptedString.h>

#include "config/SettingsTransferRun.h"
#include "config/SettingsTransferSections.h"
#include "storage/ciphers/SecretText.h"
#include "storage/ini/ValueFile.h"

#include <array>
#include <optional>

namespace msg = rivode::msg;
using rivode::config::CopySettingsKey;
using rivode::config::CopyStoring;
using rivode::config::SensitiveValuePolicy;
using rivode::config::SettingsTransferRun;

namespace {

bool Deciphers(const YUnicodeString& checkText, const YUnicodeString& passphrase) {
    YEncryptedString check;
    check.SetEncryptedText(checkText);
    YUnicodeString plaintext;
    const bool correct = check.GetPlaintext(plaintext, passphrase);
    rivode::storage::WipeText(plaintext);
    return correct;
}

// The check value the exporting configuration had: its "Security" record, or the one of its
// global options when the file has only those.
YUnicodeString ReadFileCheck(const YProfileKey& file) {
    YUnicodeString check;
    const YProfileKey security(file, rivode::config::kSecurityKeyName);
    if (security.GetString(rivode::config::kPassphraseValueName, check) && !check.empty()) {
        return check;
    }
    const YProfileKey global(file, kGlobalKeyName);
    check.clear();
    (void)global.GetString(rivode::config::kConfigPassphraseValueName, check);
    return check;
}

// How the file's sensitive values come in: as they are when the file was written under the
// current passphrase, re-enciphered when the user gives the file's passphrase, else not at all.
// nullopt when the user cancelled the import.
std::optional<SensitiveValuePolicy> DecideSensitiveData(const SettingsTransferRequest& request,
                                                        const YProfileKey& file,
                                                        SettingsTransferRun& run,
                                                        IImportExportSink& sink) {
    if (IsConfigPassphraseDisabled()) {
        YReportMessageParams warning(msg::ImportPassphraseDisabled);
        warning.AddString(request.sourceName);
        run.log.Write(SettingsLogLevel::Warning, warning);
        return SensitiveValuePolicy::Drop();
    }
    run.log.Info(msg::ImportingPassphrase);
    const YUnicodeString fileCheck = ReadFileCheck(file);
    if (fileCheck.empty()) {
        run.log.Warning(msg::ImportNoPassphraseCheck);
        return SensitiveValuePolicy::Drop();
    }
    YUnicodeString current = GetConfigPassphrase();
    if (Deciphers(fileCheck, current)) {
        rivode::storage::WipeText(current);
        return SensitiveValuePolicy::Keep();
    }
    for (int attempt = 0; attempt < kImportPassphraseAttempts; ++attempt) {
        YUnicodeString given;
        const ImportPassphraseAnswer answer = sink.AskImportPassphrase(fileCheck, given);
        if (answer == ImportPassphraseAnswer::CancelImport) {
            rivode::storage::WipeText(current);
            return std::nullopt;
        }
        if (answer == ImportPassphraseAnswer::SkipSensitiveData) {
            break;
        }
        if (Deciphers(fileCheck, given)) {
            return SensitiveValuePolicy::Reencipher(std::move(given), std::move(current));
        }
        rivode::storage::WipeText(given);
        // A wrong answer is the user's to correct, not a failure of the transfer.
        run.log.Warning(msg::PassphraseIncorrect);
    }
    rivode::storage::WipeText(current);
    run.log.Warning(msg::ImportSensitiveDataSkipped);
    return SensitiveValuePolicy::Drop();
}

// The button bars are in the newest key the file has; they go into the key the configuration
// uses.
YUnicodeString FileButtonBarKey(const YProfileKey& file) {
    if (file.SubKeyExists(kButtonBarKeyName)) {
        return YUnicodeString(kButtonBarKeyName);
    }
    for (std::u16string_view older : kOlderButtonBarKeyNames) {
        if (file.SubKeyExists(older)) {
            return YUnicodeString(older);
        }
    }
    return {};
}

class Importer {
public:
    Importer(const SettingsTransferRequest& request, SettingsTransferRun& run,
             const YProfileKey& config, const YProfileKey& file, SensitiveValuePolicy& policy)
        : request_(request), run_(run), config_(config), file_(file), policy_(policy) {}

    void Run() {
        const unsigned mask = request_.selection;
        const bool globalOrSessions = (mask & (kSettingsGlobalOptions | kSettingsSessions)) != 0;
        if (mask & kSettingsGlobalOptions) {
            run_.log.Info(msg::ImportingGlobalOptions);
            Import(kGlobalKeyName, kGlobalKeyName,
                   {rivode::config::kConfigPassphraseValueName,
                    rivode::config::kChangeConfigPassphraseValueName});
            globalImported_ = true;
        }
        Section(mask & kSettingsSessions, msg::ImportingSessions, u"Sessions");
        Section(globalOrSessions, msg::ImportingFirewalls, kFirewallsKeyName);
        Section(globalOrSessions, msg::ImportingCredentials, kCredentialsKeyName);
        Section(mask & kSettingsSessions, msg::ImportingKeywords, kKeywordsKeyName);
        if (globalOrSessions || (mask & kSettingsButtonBars)) {
            run_.log.Info(msg::ImportingButtonBars);
            const YUnicodeString fileKey = FileButtonBarKey(file_);
            if (!fileKey.empty()) {
                Import(fileKey, GetSessionDatabaseImpl()->GetButtonBarKeyName(), {});
            }
        }
        Section(mask & kSettingsCommands, msg::ImportingCommands, rivode::config::kCommandsKeyName);
        for (const rivode::config::FileTransferSection& section :
             rivode::config::kFileTransferSections) {
            if (file_.SubKeyExists(section.keyName)) {
                YReportMessageParams announcement(msg::ImportingFileTransferRecords);
                announcement.AddString(YUnicodeString(section.keyName));
                run_.log.Write(SettingsLogLevel::Info, announcement);
                Import(section.keyName, section.keyName, {});
            }
        }
    }

    bool GlobalImported() const { return globalImported_; }

private:
    // A section the file has: announced, then copied.
    void Section(bool selected, std::uint32_t announcement, std::u16string_view keyName) {
        if (selected && file_.SubKeyExists(keyName)) {
            run_.log.Info(announcement);
            Import(keyName, keyName, {});
        }
    }

    void Import(std::u16string_view fileKeyName, std::u16string_view configKeyName,
                std::initializer_list<std::u16string_view> skipValues) {
        if (!file_.SubKeyExists(fileKeyName)) {
            return;
        }
        const YProfileKey from(file_, fileKeyName);
        const YProfileKey to(config_, configKeyName, true);
        YReportMessageParams report;
        if (!CopySettingsKey(to, from, policy_, skipValues, CopyStoring::EachKey, report)) {
            run_.FailSection(configKeyName, report);
            return;
        }
        if (!to.Flush()) {
            report = to.GetStatus();
            run_.FailSection(configKeyName, report);
        }
    }

    const SettingsTransferRequest& request_;
    SettingsTransferRun& run_;
    const YProfileKey& config_;
    const YProfileKey& file_;
    SensitiveValuePolicy& policy_;
    bool globalImported_ = false;
};

void LogSensitiveCounts(const SensitiveValuePolicy& policy, SettingsTransferRun& run) {
    if (policy.reenciphered != 0) {
        YReportMessageParams line(msg::ImportSensitiveValuesReenciphered);
        line.AddFormatted(u"%1!u!", static_cast<std::uint64_t>(policy.reenciphered));
        run.log.Write(SettingsLogLevel::Info, line);
    }
    if (policy.notDeciphered != 0) {
        YReportMessageParams line(msg::ImportSensitiveValuesNotDeciphered);
        line.AddFormatted(u"%1!u!", static_cast<std::uint64_t>(policy.notDeciphered));
        run.log.Write(SettingsLogLevel::Warning, line);
    }
}

// The process's views of what was just rewritten underneath them.
void ForgetCachedRecords(bool globalImported) {
    SessionDatabaseImpl* sessions = GetSessionDatabaseImpl();
    for (SessionCollection collection :
         {SessionCollection::ButtonBars, SessionCollection::Firewalls, SessionCollection::Keywords,
          SessionCollection::ScheduledTasks, SessionCollection::Synchronize}) {
        sessions->ForgetCollection(collection);
    }
    if (globalImported) {
        (void)ReloadGlobalConfig();
    }
}

}  // namespace

bool ImportSettings(const SettingsTransferRequest& request, IImportExportSink& sink,
                    YReportMessageParams& report) {
    const SettingsFileNames names = SettingsFileNames::FromPath(request.path);
    SettingsTransferRun run(sink);
    if (!run.Start(names, report)) {
        return false;
    }
    YReportMessageParams start(msg::ImportingSettings);
    start.AddString(names.settings);
    start.AddString(request.sourceName);
    run.log.Write(SettingsLogLevel::Info, start);

    YReportMessageParams failure;
    const std::unique_ptr<YProfileStore> file =
        OpenSettingsFileStore(names.settings, true, failure);
    if (file == nullptr) {
        YReportMessageParams cause = failure;
        WrapReport(failure, msg::SettingsFileOpenFailed, {names.settings}, cause);
        run.Fail(failure);
        return run.Finish(report);
    }
    const YProfileKey& fileRoot = file->GetRootKey();
    std::optional<SensitiveValuePolicy> decided = DecideSensitiveData(request, fileRoot, run, sink);
    if (!decided) {
        failure.SetMessage(msg::SettingsImportCancelled);
        run.Fail(failure);
        return run.Finish(report);
    }
    SensitiveValuePolicy& policy = *decided;
    bool globalImported = false;
    rivode::storage::ValueFileSyncBatch batch;
    {
        YProfileStore configuration;
        Importer importer(request, run, configuration.GetRootKey(), fileRoot, policy);
        importer.Run();
        globalImported = importer.GlobalImported();
    }
    const rivode::storage::ValueFileError synced = batch.End();
    if (synced.error != 0) {
        SetFileErrorReport(failure, synced.error, synced.path);
        run.Fail(failure);
    }
    ForgetCachedRecords(globalImported);
    LogSensitiveCounts(policy, run);
    return run.Finish(report);
}
