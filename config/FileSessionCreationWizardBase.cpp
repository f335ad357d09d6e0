// The text import wizard: its options, and reading the file into the preview's entries.
#include <DavaraZE/YProgressDialog.h>
#include <RivodeRavudaVU/FileSessionCreationWizard.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "storage/ciphers/SecretText.h"
#include "storage/text/YTextFile.h"

#include <cerrno>
#include <string>

namespace msg = rivode::msg;

namespace {

// The lines read between two moves of the reading window's count.
constexpr std::size_t kLinesPerProgressStep = 256;

std::string NativePath(const YUnicodeString& path) {
    return rivode::ToUtf8(path);
}

[[nodiscard]] bool OpenForReading(YTextFile& file, const YUnicodeString& path,
                                  YReportMessageParams& report) {
    if (file.Open(std::u16string_view(path), YFile::AccessRead, YFile::OpenExisting)) {
        return true;
    }
    YReportMessageParams reason;
    SetFileErrorReport(reason, file.GetLastError(), NativePath(path));
    report = YReportMessageParams(msg::UnableToOpenFile);
    report.AddString(path);
    report.AddString(YUnicodeString(reason.GetTextTrimmed()));
    return false;
}

// Where reading stopped on text not valid in the file's encoding: after the text of the last
// line returned when that line was cut there, else at the start of the next line.
void ReportTextNotValid(const YUnicodeString& path, const YTextFile& file, std::size_t lineNumber,
                        std::size_t lastLineLength, YReportMessageParams& report) {
    const bool inLastLine = lineNumber != 0 && file.LastLineUnterminated();
    report = YReportMessageParams(msg::ImportTextNotValid);
    report.AddString(path);
    report.AddString(std::to_string(inLastLine ? lineNumber : lineNumber + 1));
    report.AddString(std::to_string(inLastLine ? lastLineLength + 1 : 1));
}

}  // namespace

bool FileSessionCreationWizardBase::SetFile(const YUnicodeString& path,
                                            YReportMessageParams& report) {
    path_ = path;
    firstLine_.clear();
    entries_.clear();
    skipped_.clear();
    YTextFile file;
    if (!OpenForReading(file, path, report)) {
        return false;
    }
    while (file.ReadLine(firstLine_)) {
        if (!firstLine_.empty()) {
            return true;
        }
    }
    report = YReportMessageParams(msg::FileWasEmpty);
    return false;
}

void FileSessionCreationWizardBase::SetFieldLabels(const YStringArray& labels) {
    fields_.clear();
    for (const YUnicodeString& label : labels) {
        fields_.push_back(FindImportField(label));
    }
}

bool FileSessionCreationWizardBase::ValidateOptions(YReportMessageParams& report) const {
    if (fields_.empty()) {
        report = YReportMessageParams(msg::ImportNoFields);
        return false;
    }
    if (fields_.size() > 1 && delimiter_ == ImportDelimiter::None) {
        report = YReportMessageParams(msg::NoneDelimiterInvalid);
        return false;
    }
    return true;
}

YStringArray FileSessionCreationWizardBase::GetColumnTitles() const {
    YStringArray titles;
    for (const ImportField field : fields_) {
        titles.push_back(GetImportColumnTitle(field));
    }
    return titles;
}

bool FileSessionCreationWizardBase::ReadEntries(YReportMessageParams& report, QWidget* parent) {
    entries_.clear();
    skipped_.clear();
    ForgetFolderNames();
    if (!ValidateOptions(report)) {
        return false;
    }
    // Every entry starts as a copy of the user's template, read once.
    const YRefPtr<ISessionConfig> defaults =
        GetSessionDatabaseImpl()->OpenSession(YUnicodeString(kDefaultSessionName), report);
    if (!defaults) {
        return false;
    }
    YTextFile file;
    if (!OpenForReading(file, path_, report)) {
        return false;
    }
    YProgressDialog progress(LoadMessageString(msg::ReadingFile), 1, parent);
    bool read = true;
    YRunWithProgress(progress, [&](YProgressDialog& window) {
        YUnicodeString line;
        std::size_t lineNumber = 0;
        std::size_t lastLineLength = 0;
        while (read && file.ReadLine(line)) {
            ++lineNumber;
            lastLineLength = line.size();
            read = ParseLine(line, lineNumber, *defaults, report);
            if (lineNumber % kLinesPerProgressStep == 0) {
                window.SetProgress(lineNumber, 0);
            }
        }
        if (read && file.GetLastError() == EILSEQ) {
            ReportTextNotValid(path_, file, lineNumber, lastLineLength, report);
            read = false;
        }
        // A password field leaves its plaintext in the line.
        rivode::storage::WipeText(line);
    });
    if (!read) {
        entries_.clear();
        skipped_.clear();
    }
    return read;
}
