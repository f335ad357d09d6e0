// The text import wizard's last step: the previewed entries become sessions.
#include <DavaraZE/YAppName.h>
#include <DavaraZE/YProgressDialog.h>
#include <RivodeRavudaVU/FileSessionCreationWizard.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "config/SessionImportLine.h"
#include "storage/ini/ValueFile.h"

#include <string>

namespace msg = rivode::msg;

namespace {

// Follows the batch's reports: each entry ends with exactly one report that is neither of the
// two warnings (its session created, or why it was not), which moves the measure on.
class ImportSink : public ISessionBatchSink {
public:
    ImportSink(const std::vector<std::size_t>& lineNumbers, SessionImportResult& result,
               YProgressDialog& window,
               const std::function<void(const YReportMessageParams&)>& onReport)
        : lineNumbers_(lineNumbers), result_(result), window_(window), onReport_(onReport) {}

    void Report(const YReportMessageParams& report) override {
        const std::uint32_t id = report.GetMessageId();
        if (id == msg::ImportedFolderInvalid || id == msg::ImportedExtraData) {
            Log(report);
            return;
        }
        if (id == msg::ImportedSessionCreated) {
            Log(report);
        } else {
            YReportMessageParams cause = report;
            YReportMessageParams skipped;
            WrapReport(skipped, msg::ImportLineSkipped,
                       {rivode::FromAscii(std::to_string(lineNumbers_[done_]))}, cause);
            result_.skipped.push_back(skipped);
            Log(skipped);
        }
        ++done_;
        // Each change redraws the window (or the console's line): moving it once a percent is
        // enough for a person to follow and keeps large imports from drawing thousands of times.
        const std::size_t total = lineNumbers_.size();
        if (done_ == total || done_ * 100 / total != (done_ - 1) * 100 / total) {
            window_.SetProgress(done_, total);
        }
    }

    void Log(const YReportMessageParams& report) {
        result_.log.push_back(report);
        if (onReport_) {
            onReport_(report);
        }
    }

private:
    const std::vector<std::size_t>& lineNumbers_;
    SessionImportResult& result_;
    YProgressDialog& window_;
    const std::function<void(const YReportMessageParams&)>& onReport_;
    std::size_t done_ = 0;
};

}  // namespace

SessionImportResult FileSessionCreationWizardBase::Import(
    QWidget* parent, const std::function<void(const YReportMessageParams&)>& onReport) {
    std::vector<PreparedSession> batch;
    std::vector<std::size_t> lineNumbers;
    batch.reserve(entries_.size());
    lineNumbers.reserve(entries_.size());
    for (SessionImportEntry& entry : entries_) {
        PreparedSession& prepared = entry.prepared;
        // The database takes folder paths with "\" between the names; an invalid folder is
        // reported as the file gave it, then left.
        if (!prepared.folderInvalid) {
            prepared.folder = rivode::config::ImportedFolderPath(prepared.folder);
        }
        batch.push_back(std::move(prepared));
        lineNumbers.push_back(entry.lineNumber);
    }
    entries_.clear();

    SessionImportResult result;
    YReportMessageParams importing(msg::ImportingFromFile);
    importing.AddString(path_);
    const std::unique_ptr<YProgressDialog> progress =
        Create7LineProgressDialog(YGetAppName(), parent);
    progress->SetText(importing.GetTextTrimmed());
    YRunWithProgress(*progress, [&](YProgressDialog& window) {
        ImportSink sink(lineNumbers, result, window, onReport);
        sink.Log(importing);
        // One sync of the file system for the whole import instead of two per session; each
        // session file is still wholly there or not at all if the process dies.
        rivode::storage::ValueFileSyncBatch sync;
        result.created = GetSessionDatabaseImpl()->CreateSessionsFromFile(batch, sink);
        if (const rivode::storage::ValueFileError error = sync.End()) {
            // Nothing created is known to be on the disk.
            YReportMessageParams failure;
            SetFileErrorReport(failure, error.error, error.path);
            result.skipped.push_back(failure);
            sink.Log(failure);
            result.created = 0;
        }
        YReportMessageParams finished(msg::TextImportFinished);
        sink.Log(finished);
        window.SetLine(1, YUnicodeString(finished.GetTextTrimmed()));
    });
    return result;
}
