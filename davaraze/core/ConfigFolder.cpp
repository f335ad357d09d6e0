#include <RivodeRavudaVU/RivodeMessages.h>

#include <DavaraZE/YConfigFolder.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include "platform/FileSystem.h"
#include "platform/SystemError.h"

#include <atomic>
#include <cerrno>

namespace {

using rivode::platform::FileSystem;

std::string ReasonOf(int error) {
    std::string reason;
    if (!rivode::platform::GetSystemErrorText(error, reason)) {
        reason = "error " + std::to_string(error);
    }
    return reason;
}

bool Refuse(IReportMessageParams& report, std::uint32_t id, const YUnicodeString& folder) {
    report.SetMessage(id);
    report.AddString(folder);
    return false;
}

bool Refuse(IReportMessageParams& report, std::uint32_t id, const YUnicodeString& folder,
            const std::string& detail) {
    Refuse(report, id, folder);
    report.AddString(detail);
    return false;
}

bool IsBlank(const YUnicodeString& text) {
    return text.find_first_not_of(u" \t") == YUnicodeString::npos;
}

bool HasControlCharacter(const YUnicodeString& text) {
    for (const char16_t c : text) {
        if (c < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

// Writing a probe file is the only test that also catches read-only mounts, access control
// lists and the like, which permission bits do not show.
int ProbeWritable(FileSystem& fileSystem, const std::string& folder) {
    static std::atomic<unsigned> probeCounter{0};
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string probe =
            folder + "/.yarrowby-write-check-" + std::to_string(probeCounter++);
        std::unique_ptr<rivode::platform::File> file;
        const int error =
            fileSystem.OpenFile(probe, rivode::platform::FileAccessWrite,
                                rivode::platform::OpenDisposition::CreateNew, 0600, file, nullptr);
        if (error == EEXIST) {
            continue;
        }
        if (error != 0) {
            return error;
        }
        file.reset();
        return fileSystem.DeleteFile(probe);
    }
    return 0;  // only foreign probes in the way: the folder takes new files
}

int ProbeCreatable(FileSystem& fileSystem, const std::string& folder) {
    const int error = fileSystem.CreateFolder(folder, 0700);
    if (error == EEXIST) {
        return 0;  // appeared meanwhile; a later check sees what it is
    }
    if (error != 0) {
        return error;
    }
    return fileSystem.RemoveFolder(folder);
}

}  // namespace

bool IsValidConfigFolder(const YUnicodeString& folder, IReportMessageParams& report) {
    if (IsBlank(folder)) {
        return Refuse(report, rivode::msg::ConfigFolderEmpty, folder);
    }
    if (folder.front() != u'/') {
        return Refuse(report, rivode::msg::ConfigFolderRelative, folder);
    }
    std::string path;
    if (HasControlCharacter(folder) || !rivode::ToUtf8Strict(folder, path)) {
        return Refuse(report, rivode::msg::ConfigFolderInvalidName, folder);
    }
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }

    FileSystem& fileSystem = FileSystem::Current();
    // Walk down from the root while the path exists; what is left is to be created.
    std::string existing = "/";
    std::size_t next = 1;
    while (next < path.size()) {
        std::size_t end = path.find('/', next);
        if (end == std::string::npos) {
            end = path.size();
        }
        if (end == next) {  // "//" inside the path
            next = end + 1;
            continue;
        }
        const std::string prefix = path.substr(0, end);
        rivode::platform::FileInfo info;
        if (const int error = fileSystem.GetFileInfo(prefix, info); error != 0) {
            if (error == ENAMETOOLONG) {
                return Refuse(report, rivode::msg::ConfigFolderNameTooLong, folder,
                              path.substr(next, end - next));
            }
            return Refuse(report, rivode::msg::ConfigFolderInaccessible, folder, ReasonOf(error));
        }
        if (!info.exists) {
            break;
        }
        if (!info.isFolder) {
            return Refuse(report, rivode::msg::ConfigFolderNotAFolder, folder, prefix);
        }
        existing = prefix;
        next = end + 1;
    }

    if (next >= path.size()) {
        if (const int error = ProbeWritable(fileSystem, existing); error != 0) {
            return Refuse(report, rivode::msg::ConfigFolderNotWritable, folder, ReasonOf(error));
        }
        return true;
    }

    std::size_t maxNameLength = 0;
    if (fileSystem.GetMaxNameLength(existing, maxNameLength) != 0) {
        maxNameLength = 0;
    }
    for (std::size_t start = next; start < path.size();) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        if (maxNameLength != 0 && end - start > maxNameLength) {
            return Refuse(report, rivode::msg::ConfigFolderNameTooLong, folder,
                          path.substr(start, end - start));
        }
        start = end + 1;
    }
    std::size_t firstEnd = path.find('/', next);
    const std::string firstMissing = path.substr(0, firstEnd);
    if (const int error = ProbeCreatable(fileSystem, firstMissing); error != 0) {
        report.SetMessage(rivode::msg::ConfigFolderCannotCreate);
        report.AddString(folder);
        report.AddString(existing);
        report.AddString(ReasonOf(error));
        return false;
    }
    return true;
}

bool YDDV_ValidateConfigFolder(QWidget* parent, const YUnicodeString& folder,
                               IReportMessageParams& report) {
    if (IsValidConfigFolder(folder, report)) {
        return true;
    }
    YMessageBox(parent, report, YMB_ICONWARNING);
    return false;
}

bool YIsReadOnly(int mode) {
    return mode == kYDialogModeReadOnly;
}
