// Settings export and import: the whole configuration (or chosen parts of it) written to one
// settings file and read back elsewhere, with the previous settings file kept as ".bak" and a
// log of every step in ".log" beside it.
//
// The transfer runs on whatever thread calls it (the transfer dialog starts a worker); it reads
// and writes the registered default store, the session database and the other records' stores,
// and tells its sink each log line as it is written. It never shows anything itself.
#pragma once

#include <RivodeRavudaVU/ProductNumbers.h>
#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <memory>

#pragma GCC visibility push(default)

// The bits of the selection mask.
enum SettingsSelectionBit : unsigned {
    kSettingsGlobalOptions = 1u << 0,
    kSettingsSessions = 1u << 1,
    kSettingsScheduledTasks = 1u << 3,
    kSettingsButtonBars = 1u << 4,
    kSettingsCommands = 1u << 5,
};

// The check boxes of the settings dialog and the rules that tie them together. Button Bars is
// enabled only while neither Global Options nor Sessions is checked, Commands only while Global
// Options is unchecked; a box that becomes disabled is checked (the larger set covers it), one
// that becomes enabled is unchecked.
class SettingsSelection {
public:
    // fileTransferInstalled shows Scheduled Tasks; terminalLaunchable shows Button Bars and
    // Commands. The initial state: everything on but Scheduled Tasks.
    SettingsSelection(bool fileTransferInstalled, bool terminalLaunchable);

    bool IsShown(SettingsSelectionBit bit) const;
    bool IsEnabled(SettingsSelectionBit bit) const;
    bool IsChecked(SettingsSelectionBit bit) const { return (checked_ & bit) != 0; }
    // The user's click; false (nothing changes) for a box that is hidden or disabled.
    bool SetChecked(SettingsSelectionBit bit, bool on);
    // The checked bits; Commands only when the terminal product can be launched.
    unsigned GetMask() const;
    // OK is enabled while at least one shown box is checked and the path is not empty.
    bool CanAccept(const YUnicodeString& path) const;

private:
    void ApplyEnablingRules(bool buttonBarsWasEnabled, bool commandsWasEnabled);

    unsigned checked_;
    bool fileTransferInstalled_;
    bool terminalLaunchable_;
};

// The three files of a transfer, from the path the user chose (with or without an extension):
// its folder ("./" when it has none, always ending in "/") and its base name, plus ".xml" (the
// settings file), ".bak" (the previous settings file) and ".log" (the transfer log).
struct SettingsFileNames {
    YUnicodeString settings;
    YUnicodeString backup;
    YUnicodeString log;

    static SettingsFileNames FromPath(const YUnicodeString& path);
};

// The level of a log line, with the word the log file shows: "info", "warn", "err".
enum class SettingsLogLevel : int { Info = 200, Warning = 201, Error = 202 };
const char16_t* GetSettingsLogLevelWord(SettingsLogLevel level);

// The answers to "Passphrases Do Not Match".
enum class ImportPassphraseAnswer {
    ImportSensitiveData,  // with the settings file's passphrase
    SkipSensitiveData,    // everything else is imported
    CancelImport,         // nothing is imported
};

// Receives what the transfer has to say and asks. Called on the transfer's thread.
class IImportExportSink {
public:
    virtual ~IImportExportSink() = default;
    // One line, at the moment it is written to the log file (text without the level word).
    virtual void OnLogLine(SettingsLogLevel level, const YUnicodeString& text) = 0;
    // "Passphrases Do Not Match": the settings file's sensitive data was enciphered under
    // another passphrase than the current one. ImportSensitiveData comes with the file's
    // passphrase in passphrase. A passphrase that does not decipher importedCheck is logged as
    // wrong and asked for again, at most kImportPassphraseAttempts times in all; then the
    // sensitive data is skipped.
    virtual ImportPassphraseAnswer AskImportPassphrase(const YUnicodeString& importedCheck,
                                                       YUnicodeString& passphrase) = 0;
};

inline constexpr int kImportPassphraseAttempts = 3;

struct SettingsTransferRequest {
    YUnicodeString path;  // as chosen: the file names are built from it
    unsigned selection = kSettingsGlobalOptions | kSettingsSessions;
    YUnicodeString sourceName;  // the application the settings belong to, for the log
    int product = kProductQuillterm;
};

// Export: the previous settings file moves to ".bak" (or the location is proven writable), then
// each selected section is written, announced by a log line. Bulk writes run inside one sync
// batch. false when the settings file could not be prepared (nothing written; the previous file
// is still there as ".bak") or when any section or the final save failed; report holds the
// first failure, which is also in the log.
[[nodiscard]] bool ExportSettings(const SettingsTransferRequest& request, IImportExportSink& sink,
                                  YReportMessageParams& report);

// Import: each selected section of the settings file is stored into the configuration: values
// of the file replace values of the same name, everything else of the configuration stays.
// Sensitive values are imported as they are when the file's passphrase is the current one,
// re-enciphered when the sink gave the file's passphrase, and left out when sensitive data is
// disabled or the user chose not to import it; when the user cancels at the passphrase question
// nothing is imported. The configuration's passphrase check value is never replaced. false as
// for ExportSettings, and after a cancel.
[[nodiscard]] bool ImportSettings(const SettingsTransferRequest& request, IImportExportSink& sink,
                                  YReportMessageParams& report);

// The settings file as a profile store. readOnly: the file must exist and is never written;
// otherwise it is created when missing and saved when the store's keys are released. null with
// report filled when it cannot be opened.
std::unique_ptr<YProfileStore> OpenSettingsFileStore(const YUnicodeString& path, bool readOnly,
                                                     YReportMessageParams& report);
// Whether the path the user chose names a folder, which the settings dialog refuses (0xE104005E).
bool IsFolderInsteadOfSettingsFile(const YUnicodeString& path);
// Removes a settings file; a missing one is not an error. false with report filled.
[[nodiscard]] bool RemoveSettingsFile(const YUnicodeString& path, YReportMessageParams& report);

#pragma GCC visibility pop
