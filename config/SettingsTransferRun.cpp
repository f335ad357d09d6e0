#include "config/SettingsTransferRun.h"

#include <RivodeRavudaVU/RivodeMessages.h>

namespace rivode::config {

bool SettingsTransferRun::Start(const SettingsFileNames& names, YReportMessageParams& report) {
    if (log.Open(names.log, report)) {
        return true;
    }
    YReportMessageParams cause = report;
    // The cause names the file already.
    WrapReport(report, rivode::msg::SettingsLogNotWritable, {}, cause);
    return false;
}

void SettingsTransferRun::Fail(YReportMessageParams& cause) {
    log.Write(SettingsLogLevel::Error, cause);
    if (!failed_) {
        firstFailure_ = cause;
        failed_ = true;
    }
}

void SettingsTransferRun::FailSection(std::u16string_view keyName, YReportMessageParams& cause) {
    YReportMessageParams report;
    WrapReport(report, rivode::msg::SettingsSectionFailed, {YUnicodeString(keyName)}, cause);
    Fail(report);
}

bool SettingsTransferRun::Finish(YReportMessageParams& report) {
    log.ReportFileError();
    if (failed_) {
        log.Warning(rivode::msg::SettingsTransferFinishedWithErrors);
        report = firstFailure_;
        return false;
    }
    log.Info(rivode::msg::SettingsTransferFinished);
    return true;
}

bool CopyNamedKey(const YProfileKey& destination, const YProfileKey& source,
                  std::u16string_view name, SensitiveValuePolicy& policy,
                  YReportMessageParams& report) {
    const YProfileKey from(source, name);
    const YProfileKey to(destination, name, true);
    return CopySettingsKey(to, from, policy, {}, CopyStoring::ByCaller, report);
}

}  // namespace rivode::config
