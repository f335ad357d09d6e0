#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <DavaraZE/YChoosers.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionNameValidation.h>

namespace msg = rivode::msg;

SessionLogFilePage::SessionLogFilePage(SessionOptionsDialogBase& dialog)
    : SessionOptionsPage(dialog, kTemplateId, msg::SessionPageLogFile) {
    const SessionConfig& session = GetSession();
    logFilename = session.logFilename.Get();
    logPrompt = session.logPrompt;
    startLogUponConnect = session.startLogUponConnect;
    rawLog = session.rawLog;
    appendToFile = session.logMode;
    newLogFileAtMidnight = session.newLogFileAtMidnight;
    timestampEachLine = session.logTimestampEachLine;
    traceLevel = session.traceLevel;
    customConnect = session.customLogMessageConnect.Get();
    customDisconnect = session.customLogMessageDisconnect.Get();
    customEachLine = session.customLogMessageEachLine.Get();
    logOnlyCustom = session.logOnlyCustom;
}

std::vector<YUnicodeString> SessionLogFilePage::GetSubstitutions() {
    std::vector<YUnicodeString> lines;
    for (std::uint32_t id :
         {msg::LogSubstitutionHost, msg::LogSubstitutionSession, msg::LogSubstitutionMonth,
          msg::LogSubstitutionDay, msg::LogSubstitutionHour}) {
        lines.push_back(LoadMessageString(id));
    }
    return lines;
}

bool SessionLogFilePage::OnBrowseLogFile(QWidget* parent) {
    YFileFilterList filters;
    YAppendFileFilter(filters, LoadMessageString(msg::LogFilesFilter), u"*.log");
    YAppendFileFilter(filters, LoadMessageString(msg::TextFilesFilter), u"*.txt");
    YAppendFileFilter(filters, LoadMessageString(msg::AnyFileFilter), u"*");
    const std::size_t slash = logFilename.find_last_of(u"/\\");
    YFileDialog chooser(
        false, LoadMessageString(msg::SelectLogFileTitle), filters,
        slash == YUnicodeString::npos ? YUnicodeString() : logFilename.substr(0, slash), parent);
    chooser.Request().initialName = u"session.log";
    chooser.Request().defaultExtension = LoadMessageString(msg::LogFileExtension);
    if (chooser.DoModal() != YID_OK) {
        return false;
    }
    logFilename = chooser.GetPathName();
    SetModified();
    return true;
}

bool SessionLogFilePage::Validate(YReportMessageParams& report, int& field) const {
    // Only the file's own name must be one a session could have: the folders before it are
    // the user's to choose (either separator, since the folder moves between platforms).
    const std::size_t slash = logFilename.find_last_of(u"/\\");
    const std::u16string_view fileName =
        std::u16string_view(logFilename).substr(slash == YUnicodeString::npos ? 0 : slash + 1);
    if (const std::optional<char16_t> illegal = FindIllegalNameCharacter(fileName)) {
        report = YReportMessageParams(msg::LogFileNameIllegalCharacter);
        report.AddString(YUnicodeString(1, *illegal));
        field = kFileNameField;
        return false;
    }
    if (newLogFileAtMidnight && logFilename.find(u"%D") == YUnicodeString::npos) {
        report = YReportMessageParams(msg::LogFileNameNeedsDate);
        field = kFileNameField;
        return false;
    }
    return true;
}

bool SessionLogFilePage::OnOK() {
    if (IsReadOnly()) {
        return true;
    }
    YReportMessageParams report;
    int field = 0;
    if (!Validate(report, field)) {
        Refuse(report, field);
        return false;
    }
    SessionConfig& session = GetSession();
    session.logFilename.Set(logFilename);
    session.logPrompt = logPrompt;
    session.startLogUponConnect = startLogUponConnect;
    session.rawLog = rawLog;
    session.logMode = appendToFile;
    session.newLogFileAtMidnight = newLogFileAtMidnight;
    session.logTimestampEachLine = timestampEachLine;
    session.traceLevel = traceLevel;
    session.customLogMessageConnect.Set(customConnect);
    session.customLogMessageDisconnect.Set(customDisconnect);
    session.customLogMessageEachLine.Set(customEachLine);
    session.logOnlyCustom = logOnlyCustom;
    return true;
}
