// File, folder and certificate choosers. They ask through the user-interface back end; back
// ends without windows cannot ask and every chooser then reports a cancel (false).
#pragma once

#include <DavaraZE/YFileFilters.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

class QWidget;
class IReportMessageParams;

struct YFileDialogRequest {
    QWidget* parent = nullptr;
    bool open = true;  // false: a save dialog
    YUnicodeString title;
    YFileFilterList filters;
    YUnicodeString initialFolder;
    YUnicodeString initialName;
    YUnicodeString defaultExtension;  // given to a saved name that has none ("log")
};

struct YFolderRequest {
    QWidget* parent = nullptr;
    YUnicodeString title;
    YUnicodeString initialFolder;
};

class YFileDialog {
public:
    YFileDialog(bool open, const YUnicodeString& title, const YFileFilterList& filters,
                const YUnicodeString& initialFolder, QWidget* parent = nullptr);

    // YID_OK with GetPathName set when the user chose a file, YID_CANCEL otherwise.
    int DoModal();
    const YUnicodeString& GetPathName() const { return path_; }
    // For further settings (initial name, default extension) before DoModal.
    YFileDialogRequest& Request() { return request_; }

private:
    YFileDialogRequest request_;
    YUnicodeString path_;
};

// Asks for a local folder, starting at initialFolder; false when cancelled.
[[nodiscard]] bool YBrowseForLocalFolder(QWidget* parent, const YUnicodeString& title,
                                         const YUnicodeString& initialFolder,
                                         YUnicodeString& folder);
// A page's browse button: starts at the folder typed in field and, on a choice, replaces it.
bool OnBrowseLocalFolderHelper(QWidget* parent, const YUnicodeString& title, YUnicodeString& field);

// Asks for a client certificate file (PEM, DER or PKCS #12); false when cancelled.
[[nodiscard]] bool BrowseForCertificateFile(QWidget* parent, YUnicodeString& path);
// Runs the certificate creation dialog; path receives the new certificate's file.
[[nodiscard]] bool CreateCertificateDialog(QWidget* parent, YUnicodeString& path);

// A certificate path is acceptable when empty (no client certificate) or naming an existing
// file; refusals fill report (%1 the path).
[[nodiscard]] bool IsValidCertificatePath(const YUnicodeString& path, IReportMessageParams& report);
// The dialog form: also shows a refusal to the user.
[[nodiscard]] bool YDDV_ValidateCertificatePath(QWidget* parent, const YUnicodeString& path,
                                                IReportMessageParams& report);

#pragma GCC visibility pop
