// Settings export: the configuration, section by section, into a new settings file.
#include <RivodeRavudaVU/SettingsTransfer.h>

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/HighlightConfig.h>
#include <RivodeRavudaVU/KeywordLists.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>

#include "config/SettingsTransferRun.h"
#include "config/SettingsTransferSections.h"
#include "platform/FileSystem.h"
#include "storage/ini/ValueFile.h"

namespace msg = rivode::msg;
using rivode::config::CopyNamedKey;
using rivode::config::SensitiveValuePolicy;
using rivode::config::SettingsTransferRun;

namespace {

constexpr unsigned kPrivateFileMode = 0600;

bool Refuse(const YUnicodeString& path, YReportMessageParams& report) {
    report.SetMessage(msg::SettingsFileNotUsable);
    report.AddString(path);
    return false;
}

// The previous settings file becomes the ".bak" file; without one, creating and deleting the
// settings file proves that the location can be written before anything else happens.
bool PrepareSettingsFile(const SettingsFileNames& names, YReportMessageParams& report) {
    rivode::platform::FileSystem& fileSystem = rivode::platform::FileSystem::Current();
    const std::string settings = rivode::ToUtf8(names.settings);
    rivode::platform::FileInfo info;
    if (fileSystem.GetFileInfo(settings, info) != 0) {
        return Refuse(names.settings, report);
    }
    if (info.exists) {
        YReportMessageParams removal;
        if (!RemoveSettingsFile(names.backup, removal) ||
            fileSystem.Rename(settings, rivode::ToUtf8(names.backup)) != 0) {
            return Refuse(names.settings, report);
        }
        return true;
    }
    std::unique_ptr<rivode::platform::File> probe;
    if (fileSystem.OpenFile(
            settings, rivode::platform::FileAccessWrite | rivode::platform::FileAccessRegularOnly,
            rivode::platform::OpenDisposition::CreateNew, kPrivateFileMode, probe, nullptr) != 0) {
        return Refuse(names.settings, report);
    }
    probe.reset();
    return fileSystem.DeleteFile(settings) == 0 || Refuse(names.settings, report);
}

// A record's key: first every stored value as it stands (values the record does not know
// survive), then the record saved over it through a copy key, which writes its defaults too.
template <class Record>
bool ExportRecord(const YProfileKey& configKey, const YProfileKey& fileKey,
                  std::u16string_view path, Record& record, YReportMessageParams& report) {
    SensitiveValuePolicy keep = SensitiveValuePolicy::Keep();
    if (!CopyNamedKey(fileKey, configKey, path, keep, report)) {
        return false;
    }
    const YProfileCopyKey copy(fileKey, path, true);
    if (!record.Save(copy)) {
        // A sub-record stores its own key and keeps the reason there; storing this key meets
        // the same reason and says it.
        if (copy.GetStatus().IsSuccess()) {
            (void)copy.Flush();
        }
        report = copy.GetStatus();
        return false;
    }
    return true;
}

YUnicodeString Join(std::u16string_view parent, const YUnicodeString& name) {
    return YUnicodeString(parent) + u'\\' + name;
}

class Exporter {
public:
    Exporter(const SettingsTransferRequest& request, SettingsTransferRun& run,
             const YProfileKey& config, const YProfileKey& file)
        : request_(request), run_(run), config_(config), file_(file) {}

    void Run() {
        ExportPassphrase();
        const unsigned mask = request_.selection;
        const bool globalOrSessions = (mask & (kSettingsGlobalOptions | kSettingsSessions)) != 0;
        Section(mask & kSettingsGlobalOptions, msg::ExportingGlobalOptions, kGlobalKeyName,
                [this](YReportMessageParams& report) { return ExportGlobal(report); });
        Section((mask & kSettingsSessions) && config_.SubKeyExists(u"Sessions"),
                msg::ExportingSessions, u"Sessions",
                [this](YReportMessageParams& report) { return CopyAsIs(u"Sessions", report); });
        Section(globalOrSessions && config_.SubKeyExists(kFirewallsKeyName),
                msg::ExportingFirewalls, kFirewallsKeyName,
                [this](YReportMessageParams& report) { return ExportFirewalls(report); });
        Section(globalOrSessions && !GetSavedCredentialTitles().empty(), msg::ExportingCredentials,
                kCredentialsKeyName,
                [this](YReportMessageParams& report) { return ExportCredentials(report); });
        Section((mask & kSettingsSessions) && !GetKeywordListNames().empty(),
                msg::ExportingKeywords, kKeywordsKeyName,
                [this](YReportMessageParams& report) { return ExportKeywords(report); });
        // Button bars, commands and the file-transfer records have no record model in this
        // library: their keys travel as they are stored.
        const YUnicodeString buttonBars = GetSessionDatabaseImpl()->GetButtonBarKeyName();
        Section(globalOrSessions || (mask & kSettingsButtonBars), msg::ExportingButtonBars,
                buttonBars,
                [&](YReportMessageParams& report) { return CopyIfStored(buttonBars, report); });
        Section(mask & kSettingsCommands, msg::ExportingCommands, rivode::config::kCommandsKeyName,
                [this](YReportMessageParams& report) {
                    return CopyIfStored(rivode::config::kCommandsKeyName, report);
                });
        for (const rivode::config::FileTransferSection& section :
             rivode::config::kFileTransferSections) {
            Section(
                config_.SubKeyExists(section.keyName), section.exportingId, section.keyName,
                [&](YReportMessageParams& report) { return CopyAsIs(section.keyName, report); });
        }
    }

private:
    template <class Write>
    void Section(bool selected, std::uint32_t announcement, std::u16string_view keyName,
                 Write write) {
        if (!selected) {
            return;
        }
        run_.log.Info(announcement);
        YReportMessageParams report;
        if (!write(report)) {
            run_.FailSection(keyName, report);
        }
    }

    void ExportPassphrase() {
        if (IsConfigPassphraseDisabled()) {
            YReportMessageParams warning(msg::ExportPassphraseDisabled);
            warning.AddString(request_.sourceName);
            run_.log.Write(SettingsLogLevel::Warning, warning);
            return;
        }
        Section(true, msg::ExportingPassphrase, rivode::config::kSecurityKeyName,
                [this](YReportMessageParams& report) {
                    const YProfileKey security(file_, rivode::config::kSecurityKeyName, true);
                    const YUnicodeString check =
                        GetGlobalConfig()->configPassphrase.GetEncryptedText();
                    if (!security.SetString(rivode::config::kPassphraseValueName, check)) {
                        report = security.GetStatus();
                        return false;
                    }
                    return true;
                });
    }

    // Built from what is stored, with its user-interface sub-record, whatever this host has.
    bool ExportGlobal(YReportMessageParams& report) {
        const YRefPtr<GlobalConfig> shared = GetGlobalConfig();
        const YProfileKey stored(config_, kGlobalKeyName);
        const YRefPtr<GlobalConfig> record = YRefPtr<GlobalConfig>::Adopt(
            new GlobalConfig(&stored, shared->GetProduct(), shared->IsIntegrated(), true));
        return ExportRecord(config_, file_, kGlobalKeyName, *record, report);
    }

    bool ExportFirewalls(YReportMessageParams& report) {
        for (const YUnicodeString& name : GetFirewallNames()) {
            const YRefPtr<FirewallConfig> firewall = OpenFirewall(name, report);
            if (!firewall ||
                !ExportRecord(config_, file_, Join(kFirewallsKeyName, name), *firewall, report)) {
                return false;
            }
        }
        return true;
    }

    bool ExportCredentials(YReportMessageParams& report) {
        for (const YUnicodeString& title : GetSavedCredentialTitles()) {
            SavedCredential credential;
            if (!LoadSavedCredential(title, credential, report) ||
                !ExportRecord(config_, file_, Join(kCredentialsKeyName, title), credential,
                              report)) {
                return false;
            }
        }
        return true;
    }

    bool ExportKeywords(YReportMessageParams& report) {
        for (const YUnicodeString& name : GetKeywordListNames()) {
            YUnicodeString storedName;
            const YRefPtr<HighlightConfig> list = OpenKeywordList(name, report, &storedName);
            if (!list ||
                !ExportRecord(config_, file_, Join(kKeywordsKeyName, storedName), *list, report)) {
                return false;
            }
        }
        return true;
    }

    bool CopyAsIs(std::u16string_view keyName, YReportMessageParams& report) {
        SensitiveValuePolicy keep = SensitiveValuePolicy::Keep();
        return CopyNamedKey(file_, config_, keyName, keep, report);
    }

    bool CopyIfStored(std::u16string_view keyName, YReportMessageParams& report) {
        return !config_.SubKeyExists(keyName) || CopyAsIs(keyName, report);
    }

    const SettingsTransferRequest& request_;
    SettingsTransferRun& run_;
    const YProfileKey& config_;
    const YProfileKey& file_;
};

}  // namespace

bool ExportSettings(const SettingsTransferRequest& request, IImportExportSink& sink,
                    YReportMessageParams& report) {
    const SettingsFileNames names = SettingsFileNames::FromPath(request.path);
    SettingsTransferRun run(sink);
    if (!run.Start(names, report)) {
        return false;
    }
    YReportMessageParams start(msg::ExportingSettings);
    start.AddString(request.sourceName);
    start.AddString(names.settings);
    run.log.Write(SettingsLogLevel::Info, start);

    YReportMessageParams failure;
    if (!PrepareSettingsFile(names, failure)) {
        run.Fail(failure);
        return run.Finish(report);
    }
    const std::unique_ptr<YProfileStore> file =
        OpenSettingsFileStore(names.settings, false, failure);
    if (file == nullptr) {
        YReportMessageParams cause = failure;
        WrapReport(failure, msg::SettingsFileOpenFailed, {names.settings}, cause);
        run.Fail(failure);
        return run.Finish(report);
    }
    rivode::storage::ValueFileSyncBatch batch;
    {
        // The store's own root: a second root key would load a second copy of the document.
        const YProfileKey& root = file->GetRootKey();
        if (!root.GetStatus().IsSuccess()) {
            failure = root.GetStatus();
            run.Fail(failure);
            return run.Finish(report);
        }
        YProfileStore configuration;
        Exporter(request, run, configuration.GetRootKey(), root).Run();
        // The document is written once, here: every section wrote into it in memory.
        if (!root.Flush()) {
            YReportMessageParams cause = root.GetStatus();
            WrapReport(failure, msg::SettingsFileSaveFailed, {names.settings}, cause);
            run.Fail(failure);
        }
    }
    const rivode::storage::ValueFileError synced = batch.End();
    if (synced.error != 0) {
        SetFileErrorReport(failure, synced.error, synced.path);
        run.Fail(failure);
    }
    return run.Finish(report);
}
