#include <RivodeRavudaVU/ImportExportSettingsDialogs.h>

#include <DavaraZE/YChoosers.h>
#include <DavaraZE/YFileFilters.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/ConfigPassphraseDialogs.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include "storage/ciphers/SecretText.h"

namespace msg = rivode::msg;

SettingsTransferDialogBase::SettingsTransferDialogBase(bool import, SettingsTransferRequest request,
                                                       int product, IImportExportSink* hostSink,
                                                       QWidget* parent)
    : YDialog(kTemplateId, nullptr, parent),
      import_(import),
      request_(std::move(request)),
      product_(product),
      hostSink_(hostSink) {}

SettingsTransferDialogBase::~SettingsTransferDialogBase() {
    // The window cannot close while the worker runs; this covers a dialog dropped unshown.
    if (worker_.joinable()) {
        while (!IsFinished()) {
            (void)ServePendingQuestion();
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return finished_ || question_ != nullptr; });
        }
        worker_.join();
    }
}

YUnicodeString SettingsTransferDialogBase::GetTitle() const {
    YReportMessageParams title(import_ ? msg::ImportingFrom : msg::ExportingTo);
    title.AddString(SettingsFileNames::FromPath(request_.path).settings);
    return title.GetTextTrimmed();
}

bool SettingsTransferDialogBase::OnInitDialog() {
    StartWorker();
    return true;
}

void SettingsTransferDialogBase::StartWorker() {
    if (worker_.joinable()) {
        return;
    }
    worker_ = std::thread([this] {
        YReportMessageParams report;
        const bool done = import_ ? ImportSettings(request_, *this, report)
                                  : ExportSettings(request_, *this, report);
        {
            std::lock_guard lock(mutex_);
            succeeded_ = done;
            failure_ = report;
            finished_ = true;
        }
        Notify();
    });
}

void SettingsTransferDialogBase::Notify() {
    changed_.notify_all();
    if (notifier_) {
        notifier_();
    }
}

std::vector<YUnicodeString> SettingsTransferDialogBase::TakeNewLines() {
    std::lock_guard lock(mutex_);
    return std::exchange(newLines_, {});
}

bool SettingsTransferDialogBase::IsFinished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

void SettingsTransferDialogBase::OnCancel() {
    if (IsFinished()) {
        YDialog::OnCancel();
    }
}

void SettingsTransferDialogBase::OnOK() {
    if (IsFinished()) {
        YDialog::OnOK();
    }
}

void SettingsTransferDialogBase::OnLogLine(SettingsLogLevel level, const YUnicodeString& text) {
    {
        std::lock_guard lock(mutex_);
        newLines_.push_back(YUnicodeString(GetSettingsLogLevelWord(level)) + u": " + text);
    }
    if (hostSink_ != nullptr) {
        hostSink_->OnLogLine(level, text);
    }
    Notify();
}

// The worker waits here while the user-interface thread runs the dialog.
ImportPassphraseAnswer SettingsTransferDialogBase::AskImportPassphrase(
    const YUnicodeString& importedCheck, YUnicodeString& passphrase) {
    Question question{importedCheck, std::nullopt, {}};
    {
        std::lock_guard lock(mutex_);
        question_ = &question;
    }
    Notify();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&question] { return question.answer.has_value(); });
    passphrase = std::move(question.passphrase);
    return *question.answer;
}

bool SettingsTransferDialogBase::ServePendingQuestion() {
    Question* question = nullptr;
    {
        std::lock_guard lock(mutex_);
        question = question_;
    }
    if (question == nullptr) {
        return false;
    }
    ImportSettingsPassphraseDialogBase dialog(product_, question->importedCheck, GetWindow());
    const bool accepted = dialog.DoModal() == YID_OK;
    {
        std::lock_guard lock(mutex_);
        if (!accepted) {
            question->answer = ImportPassphraseAnswer::CancelImport;
        } else if (!dialog.importSensitiveData) {
            question->answer = ImportPassphraseAnswer::SkipSensitiveData;
        } else {
            question->answer = ImportPassphraseAnswer::ImportSensitiveData;
            question->passphrase = dialog.passphrase;
        }
        question_ = nullptr;
    }
    changed_.notify_all();
    return true;
}

bool SettingsTransferDialogBase::RunTransfer() {
    StartWorker();
    for (;;) {
        (void)ServePendingQuestion();
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return finished_ || question_ != nullptr; });
        if (finished_) {
            break;
        }
    }
    worker_.join();
    return succeeded_;
}

ImportExportSettingsDialogBase::ImportExportSettingsDialogBase(bool import,
                                                               SettingsSelection selection,
                                                               SettingsTransferRequest request,
                                                               IImportExportSink* hostSink,
                                                               QWidget* parent)
    : YDialog(kTemplateId, nullptr, parent),
      selection(selection),
      import_(import),
      request_(std::move(request)),
      hostSink_(hostSink) {}

YUnicodeString ImportExportSettingsDialogBase::GetTitle() const {
    YReportMessageParams title(import_ ? msg::ImportSettingsTitle : msg::ExportSettingsTitle);
    return title.GetTextTrimmed();
}

std::uint32_t ImportExportSettingsDialogBase::GetChooserTitleId() const {
    return import_ ? msg::SelectImportFileTitle : msg::SelectExportFileTitle;
}

bool ImportExportSettingsDialogBase::OnBrowse() {
    YFileFilterList filters;
    YAppendFileFilter(filters, YReportMessageParams(msg::SettingsFilesFilter).GetTextTrimmed(),
                      u"*.xml");
    YAppendAllFilesFilter(filters);
    YFileDialog chooser(import_, YReportMessageParams(GetChooserTitleId()).GetTextTrimmed(),
                        filters, {}, GetWindow());
    chooser.Request().defaultExtension = u"xml";
    if (chooser.DoModal() != YID_OK) {
        return false;
    }
    path = chooser.GetPathName();
    return true;
}

void ImportExportSettingsDialogBase::OnOK() {
    if (!IsOkEnabled()) {
        return;
    }
    if (IsFolderInsteadOfSettingsFile(path)) {
        YReportMessageParams refused(msg::SettingsFileNotUsable);
        refused.AddString(path);
        YMessageBox(GetWindow(), refused, YMB_ICONWARNING);
        return;
    }
    request_.path = path;
    request_.selection = selection.GetMask();
    SettingsTransferDialogBase transfer(import_, request_, request_.product, hostSink_,
                                        GetWindow());
    if (transfer.DoModal() == YID_OK) {
        YDialog::OnOK();
    }
}

bool LaunchImportExportSettingsDialog(bool import, IImportExportSink* sink, const char16_t* name,
                                      bool, int product, QWidget* parent) {
    SettingsTransferRequest request;
    request.sourceName = name != nullptr ? YUnicodeString(name) : YUnicodeString();
    request.product = product;
    ImportExportSettingsDialogBase dialog(
        import, SettingsSelection(IsQuillfileInstalled(), CanLaunchTerminalApp()), request, sink,
        parent);
    return dialog.DoModal() == YID_OK;
}
