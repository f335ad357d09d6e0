// The log of one settings transfer: each line goes to the ".log" file at once (UTF-8 with a
// byte-order mark, CR LF, the level word first) and to the transfer's sink, so a dialog or a
// console shows the transfer as it runs and the file holds what happened if the process dies.
#pragma once

#include <RivodeRavudaVU/SettingsTransfer.h>

#include "platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>

namespace rivode::config {

class SettingsTransferLog {
public:
    explicit SettingsTransferLog(IImportExportSink& sink) : sink_(sink) {}
    // Creates (or empties) the log file; false with report filled when it cannot be written.
    [[nodiscard]] bool Open(const YUnicodeString& path, YReportMessageParams& report);

    // One line with message's text. A failed write of the file is not repeated for every line:
    // the sink still gets each line, and LogFileError tells whether the file missed any.
    void Write(SettingsLogLevel level, YReportMessageParams& message);
    void Info(std::uint32_t id);
    void Warning(std::uint32_t id);

    // Whether an error line was written.
    bool HasErrors() const { return hasErrors_; }
    // When the file missed lines (a full disk), says so to the sink, which has every line:
    // the last line of the transfer is then that warning.
    void ReportFileError();

private:
    IImportExportSink& sink_;
    std::unique_ptr<rivode::platform::File> file_;
    std::string path_;
    std::uint64_t offset_ = 0;
    int fileError_ = 0;
    bool hasErrors_ = false;
};

}  // namespace rivode::config
