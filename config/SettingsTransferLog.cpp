#include "config/SettingsTransferLog.h"

#include <RivodeRavudaVU/RivodeMessages.h>

namespace rivode::config {

namespace {
constexpr unsigned kPrivateFileMode = 0600;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

bool SettingsTransferLog::Open(const YUnicodeString& path, YReportMessageParams& report) {
    const std::string nativePath = rivode::ToUtf8(path);
    path_ = nativePath;
    // The log sits beside a file the user named; a link planted under its name must not turn
    // the transfer into a writer of some other file.
    const int error = platform::FileSystem::Current().OpenFile(
        nativePath, platform::FileAccessWrite | platform::FileAccessRegularOnly,
        platform::OpenDisposition::CreateAlways, kPrivateFileMode, file_, nullptr);
    if (error == 0) {
        fileError_ = file_->WriteAt(0, kByteOrderMark.data(), kByteOrderMark.size());
        offset_ = kByteOrderMark.size();
    }
    if (error != 0 || fileError_ != 0) {
        SetFileErrorReport(report, error != 0 ? error : fileError_, nativePath);
        file_.reset();
        return false;
    }
    return true;
}

void SettingsTransferLog::Write(SettingsLogLevel level, YReportMessageParams& message) {
    const YUnicodeString text = message.GetSingleLineTextTrimmed();
    if (level == SettingsLogLevel::Error) {
        hasErrors_ = true;
    }
    if (file_ != nullptr && fileError_ == 0) {
        const std::string line =
            rivode::ToUtf8(GetSettingsLogLevelWord(level)) + ": " + rivode::ToUtf8(text) + "\r\n";
        fileError_ = file_->WriteAt(offset_, line.data(), line.size());
        offset_ += line.size();
    }
    sink_.OnLogLine(level, text);
}

void SettingsTransferLog::ReportFileError() {
    if (fileError_ == 0) {
        return;
    }
    YReportMessageParams cause;
    SetFileErrorReport(cause, fileError_, path_);
    YReportMessageParams warning;
    WrapReport(warning, rivode::msg::SettingsLogNotWritable, {}, cause);
    Write(SettingsLogLevel::Warning, warning);
}

void SettingsTransferLog::Info(std::uint32_t id) {
    YReportMessageParams message(id);
    Write(SettingsLogLevel::Info, message);
}

void SettingsTransferLog::Warning(std::uint32_t id) {
    YReportMessageParams message(id);
    Write(SettingsLogLevel::Warning, message);
}

}  // namespace rivode::config
