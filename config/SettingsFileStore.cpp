// The settings file behind the transfer, opened in one place so that the transfer itself only
// ever sees the abstract store and key interface.
//
// For now the settings "file" is an INI folder store whose main folder sits at the settings
// path itself: the path is a folder of .ini files instead of one XML document. The XML file
// store replaces the body of OpenSettingsFileStore (and RemoveSettingsFile then removes a single
// file); nothing else in the transfer depends on which back end holds the settings.
#include <RivodeRavudaVU/SettingsTransfer.h>

#include <RivodeRavudaVU/YIniFileStore.h>

#include "platform/FileSystem.h"
#include "storage/IniFolderTree.h"

#include <cerrno>

namespace {

// The store does not own its factory and uses it only while being constructed.
std::unique_ptr<YProfileStore> OpenStandInStore(const YUnicodeString& path, bool readOnly) {
    YIniFileStoreFactory factory(path);
    return std::make_unique<YProfileStore>(readOnly, &factory);
}

}  // namespace

std::unique_ptr<YProfileStore> OpenSettingsFileStore(const YUnicodeString& path, bool readOnly,
                                                     YReportMessageParams& report) {
    const std::string nativePath = rivode::ToUtf8(path);
    rivode::platform::FileInfo info;
    const int error = rivode::platform::FileSystem::Current().GetFileInfo(nativePath, info);
    if (error != 0 || (readOnly && !info.exists)) {
        SetFileErrorReport(report, error != 0 ? error : ENOENT, nativePath);
        return nullptr;
    }
    std::unique_ptr<YProfileStore> store = OpenStandInStore(path, readOnly);
    const YReportMessageParams& status = store->GetRootKey().GetStatus();
    if (!status.IsSuccess()) {
        report = status;
        return nullptr;
    }
    return store;
}

bool RemoveSettingsFile(const YUnicodeString& path, YReportMessageParams& report) {
    const std::string nativePath = rivode::ToUtf8(path);
    rivode::platform::FileSystem& fileSystem = rivode::platform::FileSystem::Current();
    rivode::platform::FileInfo info;
    int error = fileSystem.GetFileInfo(nativePath, info);
    if (error == 0 && info.exists) {
        error = info.isFolder ? rivode::storage::RemoveFolderTree(nativePath)
                              : fileSystem.DeleteFile(nativePath);
    }
    if (error != 0) {
        SetFileErrorReport(report, error, nativePath);
        return false;
    }
    return true;
}

bool IsFolderInsteadOfSettingsFile(const YUnicodeString& path) {
    rivode::platform::FileInfo info;
    if (rivode::platform::FileSystem::Current().GetFileInfo(rivode::ToUtf8(path), info) != 0 ||
        !info.isFolder) {
        return false;
    }
    // While settings files are folders, the one under the settings file's own name is the
    // previous export, not a folder the user named.
    return SettingsFileNames::FromPath(path).settings != path;
}
