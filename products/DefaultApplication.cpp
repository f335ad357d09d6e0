#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SiblingProducts.h>
#include <RivodeRavudaVU/YDefaultApplication.h>

#include "platform/Environment.h"
#include "products/DesktopEntry.h"
#include "products/WholeFile.h"
#include "storage/ini/IniFolderTree.h"

#include <cerrno>

namespace {

// Desktop files and the handler list are read by the user's other desktop programs; nothing in
// them is secret.
constexpr unsigned kFolderMode = 0755;
constexpr unsigned kFileMode = 0644;
// Lists of a few hundred associations are common; one this large is not a list.
constexpr std::size_t kMaxListSize = 4 * 1024 * 1024;

std::string GetApplicationsFolder() {
    return rivode::platform::GetUserDataFolder() + "/applications";
}

std::string GetHandlerListPath() {
    return rivode::platform::GetUserConfigFolder() + "/mimeapps.list";
}

std::vector<std::string> GetMimeTypes(const YStringArray& schemes) {
    std::vector<std::string> mimeTypes;
    for (const YUnicodeString& scheme : schemes) {
        mimeTypes.push_back("x-scheme-handler/" + rivode::ToUtf8(scheme));
    }
    return mimeTypes;
}

bool ReportFileError(const std::string& path, int error, YReportMessageParams& report) {
    YReportMessageParams reason;
    SetSystemErrorReport(reason, error);
    report.SetMessage(rivode::msg::UnableToOpenFile);
    report.AddString(path);
    report.AddString(reason.GetTextTrimmed());
    return false;
}

// A list that is not there yet is an empty list.
int ReadHandlerList(const std::string& path, std::string& list) {
    const int error = ReadWholeFile(path, kMaxListSize, list);
    if (error == ENOENT) {
        list.clear();
        return 0;
    }
    return error;
}

}  // namespace

std::string YDefaultApplication::GetDesktopId() const {
    std::string id;
    for (const char16_t c : applicationName) {
        const bool keep = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.' ||
                          c == u'_' || c == u'-';
        if (c >= u'A' && c <= u'Z') {
            id += static_cast<char>(c - u'A' + 'a');
        } else {
            id += keep ? static_cast<char>(c) : '-';
        }
    }
    return id + ".desktop";
}

bool YDefaultApplication::Register(YReportMessageParams& report) const {
    const std::vector<std::string> mimeTypes = GetMimeTypes(urlSchemes);
    const std::string folder = GetApplicationsFolder();
    if (const int error = rivode::storage::CreateFolderWithParents(folder, kFolderMode)) {
        return ReportFileError(folder, error, report);
    }
    const std::string entryPath = folder + "/" + GetDesktopId();
    const std::string entry =
        MakeDesktopEntry({applicationName, description, executablePath, mimeTypes});
    if (const int error = ReplaceWholeFile(entryPath, entry, kFileMode)) {
        return ReportFileError(entryPath, error, report);
    }
    const std::string listPath = GetHandlerListPath();
    std::string list;
    if (const int error = ReadHandlerList(listPath, list)) {
        return ReportFileError(listPath, error, report);
    }
    if (const int error = rivode::storage::CreateFolderWithParents(
            rivode::platform::GetUserConfigFolder(), kFolderMode)) {
        return ReportFileError(listPath, error, report);
    }
    const std::string updated = SetDefaultHandlers(list, GetDesktopId(), mimeTypes);
    if (const int error = ReplaceWholeFile(listPath, updated, kFileMode)) {
        return ReportFileError(listPath, error, report);
    }
    return true;
}

bool YDefaultApplication::IsDefault() const {
    std::string list;
    if (ReadHandlerList(GetHandlerListPath(), list) != 0) {
        return false;
    }
    const std::string desktopId = GetDesktopId();
    for (const std::string& mimeType : GetMimeTypes(urlSchemes)) {
        if (GetDefaultHandler(list, mimeType) != desktopId) {
            return false;
        }
    }
    return true;
}

YStringArray GetTerminalUrlSchemes() {
    return {u"telnet", u"ssh", u"rlogin"};
}

bool GetQuilltermDefaultApplicationSettings(YDefaultApplication& settings) {
    if (!IsQuilltermInstalled()) {
        return false;
    }
    settings.applicationName = GetProductDisplayName(kProductQuillterm);
    settings.executablePath = GetQuilltermPath();
    settings.description = LoadMessageString(rivode::msg::TerminalApplicationDescription);
    settings.urlSchemes = GetTerminalUrlSchemes();
    return true;
}
