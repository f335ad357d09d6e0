// The settings dialogs without their windows: "Export Settings"/"Import Settings" (what to
// transfer and where) and the transfer dialog that runs the transfer on a worker thread and shows
// its log. The user-interface half binds each to its form by template id.
//
// Threads: the transfer dialog's methods are called on the user-interface thread, except what
// the worker calls through IImportExportSink. The worker never touches a window: log lines and
// the passphrase question reach the user-interface thread through the notifier, and the worker
// waits for the answer.
#pragma once

#include <DavaraZE/YDialog.h>
#include <RivodeRavudaVU/SettingsTransfer.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#pragma GCC visibility push(default)

// The transfer's progress dialog: its title, the log lines so far, Close held back until the
// worker has finished.
class SettingsTransferDialogBase : public YDialog, public IImportExportSink {
public:
    static constexpr unsigned kTemplateId = 5028;
    // hostSink (may be null) also receives every log line, on the worker thread.
    SettingsTransferDialogBase(bool import, SettingsTransferRequest request, int product,
                               IImportExportSink* hostSink, QWidget* parent = nullptr);
    ~SettingsTransferDialogBase() override;

    // "Importing from %1" or "Exporting to %1" with the settings file.
    YUnicodeString GetTitle() const;

    // Called on the worker thread whenever a line or a question waits for the user-interface
    // thread; the form posts itself a message and calls TakeNewLines / ServePendingQuestion.
    void SetNotifier(std::function<void()> notifier) { notifier_ = std::move(notifier); }

    // Starts the worker (once); the form calls it when its window is up.
    bool OnInitDialog() override;
    // Lines logged since the last call, each with its level word ("info: ...").
    std::vector<YUnicodeString> TakeNewLines();
    // Runs the "Passphrases Do Not Match" dialog for a waiting question, through the
    // user-interface back end, and lets the worker go on. false when none was waiting.
    bool ServePendingQuestion();
    // Whether the worker has ended: the Close button and the system Close command are enabled
    // from then on.
    bool IsFinished() const;
    // Whether the transfer succeeded (valid once finished), and its first failure.
    bool Succeeded() const { return succeeded_; }
    const YReportMessageParams& GetFailure() const { return failure_; }
    // Close is refused while the worker runs; OK only once it has finished.
    void OnCancel() override;
    void OnOK() override;

    // For hosts without a window loop: starts the worker and serves its questions on the
    // calling thread until it ends. Returns Succeeded().
    bool RunTransfer();

    void OnLogLine(SettingsLogLevel level, const YUnicodeString& text) override;
    ImportPassphraseAnswer AskImportPassphrase(const YUnicodeString& importedCheck,
                                               YUnicodeString& passphrase) override;

private:
    struct Question {
        YUnicodeString importedCheck;
        std::optional<ImportPassphraseAnswer> answer;
        YUnicodeString passphrase;
    };

    void StartWorker();
    void Notify();

    bool import_;
    SettingsTransferRequest request_;
    int product_;
    IImportExportSink* hostSink_;
    std::function<void()> notifier_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<YUnicodeString> newLines_;
    Question* question_ = nullptr;
    bool finished_ = false;
    bool succeeded_ = false;
    YReportMessageParams failure_;
    std::thread worker_;
};

// "Export Settings" / "Import Settings": the check boxes, the file field and its browse button.
class ImportExportSettingsDialogBase : public YDialog {
public:
    static constexpr unsigned kTemplateId = 5027;
    ImportExportSettingsDialogBase(bool import, SettingsSelection selection,
                                   SettingsTransferRequest request, IImportExportSink* hostSink,
                                   QWidget* parent = nullptr);

    YUnicodeString GetTitle() const;
    // The title of the file chooser for the mode.
    std::uint32_t GetChooserTitleId() const;
    // The browse button: the file chooser with the settings filter; the choice goes into path.
    bool OnBrowse();
    bool IsOkEnabled() const { return selection.CanAccept(path); }
    // A folder is refused with a warning and the dialog stays; otherwise the transfer dialog
    // runs, and its OK ends this one with OK.
    void OnOK() override;

    SettingsSelection selection;
    YUnicodeString path;

private:
    bool import_;
    SettingsTransferRequest request_;
    IImportExportSink* hostSink_;
};

// Shows the settings dialog in import or export mode. name: the application the settings belong
// to (the log's source name); flag: accepted for the hosts that pass it, unused by the transfer;
// product: the host product, for the passphrase question. true when it ended with OK.
bool LaunchImportExportSettingsDialog(bool import, IImportExportSink* sink, const char16_t* name,
                                      bool flag, int product, QWidget* parent);

#pragma GCC visibility pop
