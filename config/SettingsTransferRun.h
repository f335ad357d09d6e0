// What export and import share: the log, the outcome of the sections and the sync batch that
// holds their bulk writes.
#pragma once

#include "config/SettingsKeyCopy.h"
#include "config/SettingsTransferLog.h"

#include <cstdint>
#include <string_view>

namespace rivode::config {

class SettingsTransferRun {
public:
    explicit SettingsTransferRun(IImportExportSink& sink) : log(sink) {}

    // Opens the log; false with report filled (nothing can be logged then).
    [[nodiscard]] bool Start(const SettingsFileNames& names, YReportMessageParams& report);
    // Logs cause as an error; the first failure is what the transfer reports.
    void Fail(YReportMessageParams& cause);
    // A section that could not be transferred: logged with the key it concerns.
    void FailSection(std::u16string_view keyName, YReportMessageParams& cause);
    // Logs the end of the transfer; false with the first failure in report when anything failed.
    [[nodiscard]] bool Finish(YReportMessageParams& report);

    bool HasFailed() const { return failed_; }

    SettingsTransferLog log;

private:
    YReportMessageParams firstFailure_;
    bool failed_ = false;
};

// source's key name copied into destination's key of the same name as it stands; the caller
// stores destination (a settings file is written once, whole).
[[nodiscard]] bool CopyNamedKey(const YProfileKey& destination, const YProfileKey& source,
                                std::u16string_view name, SensitiveValuePolicy& policy,
                                YReportMessageParams& report);

}  // namespace rivode::config
