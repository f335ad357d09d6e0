#include <RivodeRavudaVU/RivodeMessages.h>

#include <DavaraZE/YChoosers.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YMessageStrings.h>
#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include "platform/FileSystem.h"

YFileDialog::YFileDialog(bool open, const YUnicodeString& title, const YFileFilterList& filters,
                         const YUnicodeString& initialFolder, QWidget* parent) {
    request_.parent = parent;
    request_.open = open;
    request_.title = title;
    request_.filters = filters;
    request_.initialFolder = initialFolder;
}

int YFileDialog::DoModal() {
    YUnicodeString chosen;
    if (!YGetUserInterface()->ChooseFile(request_, chosen) || chosen.empty()) {
        return YID_CANCEL;
    }
    path_ = std::move(chosen);
    return YID_OK;
}

bool YBrowseForLocalFolder(QWidget* parent, const YUnicodeString& title,
                           const YUnicodeString& initialFolder, YUnicodeString& folder) {
    YFolderRequest request;
    request.parent = parent;
    request.title = title;
    request.initialFolder = initialFolder;
    YUnicodeString chosen;
    if (!YGetUserInterface()->ChooseFolder(request, chosen) || chosen.empty()) {
        return false;
    }
    folder = std::move(chosen);
    return true;
}

bool OnBrowseLocalFolderHelper(QWidget* parent, const YUnicodeString& title,
                               YUnicodeString& field) {
    // A folder typed but not yet made: start at the nearest part that exists.
    YUnicodeString start = field;
    rivode::platform::FileSystem& fileSystem = rivode::platform::FileSystem::Current();
    while (!start.empty()) {
        rivode::platform::FileInfo info;
        if (fileSystem.GetFileInfo(rivode::ToUtf8(start), info) == 0 && info.exists &&
            info.isFolder) {
            break;
        }
        const std::size_t slash = start.find_last_of(u'/');
        start = slash == YUnicodeString::npos ? YUnicodeString() : start.substr(0, slash);
    }
    return YBrowseForLocalFolder(parent, title, start, field);
}

bool BrowseForCertificateFile(QWidget* parent, YUnicodeString& path) {
    YFileFilterList filters;
    YAppendFileFilter(
        filters, YLoadMessageString(rivode::msg::CertificateFilesFilter, u"Certificate Files (%1)"),
        u"*.pem;*.crt;*.cer;*.der;*.p12;*.pfx");
    YAppendAllFilesFilter(filters);
    const std::size_t slash = path.find_last_of(u'/');
    YFileDialog dialog(
        true, YLoadMessageString(rivode::msg::SelectCertificateTitle, u"Select a Certificate File"),
        filters, slash == YUnicodeString::npos ? YUnicodeString() : path.substr(0, slash), parent);
    if (dialog.DoModal() != YID_OK) {
        return false;
    }
    path = dialog.GetPathName();
    return true;
}

bool CreateCertificateDialog(QWidget* parent, YUnicodeString& path) {
    return YGetUserInterface()->CreateCertificate(parent, path);
}

bool IsValidCertificatePath(const YUnicodeString& path, IReportMessageParams& report) {
    if (path.empty()) {
        return true;
    }
    rivode::platform::FileInfo info;
    std::string native;
    const bool readable = rivode::ToUtf8Strict(path, native) &&
                          rivode::platform::FileSystem::Current().GetFileInfo(native, info) == 0;
    if (!readable || !info.exists) {
        report.SetMessage(rivode::msg::CertificateFileMissing);
        report.AddString(path);
        return false;
    }
    if (info.isFolder) {
        report.SetMessage(rivode::msg::CertificatePathIsFolder);
        report.AddString(path);
        return false;
    }
    return true;
}

bool YDDV_ValidateCertificatePath(QWidget* parent, const YUnicodeString& path,
                                  IReportMessageParams& report) {
    if (IsValidCertificatePath(path, report)) {
        return true;
    }
    YMessageBox(parent, report, YMB_ICONWARNING);
    return false;
}
