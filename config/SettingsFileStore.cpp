// The settings file behind the transfer, opened in one place so that the transfer itself only
// ever sees the abstract store and key interface: one XML document (YXmlFileStore.h), saved
// as crash-safely as the configuration's own files.
#include <RivodeRavudaVU/SettingsTransfer.h>

#include <RivodeRavudaVU/YXmlFileStore.h>

#include "platform/FileSystem.h"

#include <cerrno>

namespace {

rivode::platform::FileInfo InfoOf(const std::string& nativePath, int& error) {
    rivode::platform::FileInfo info;
    error = rivode::platform::FileSystem::Current().GetFileInfo(nativePath, info);
    return info;
}

}  // namespace

std::unique_ptr<YProfileStore> OpenSettingsFileStore(const YUnicodeString& path, bool readOnly,
                                                     YReportMessageParams& report) {
    const std::string nativePath = rivode::ToUtf8(path);
    int error = 0;
    const rivode::platform::FileInfo info = InfoOf(nativePath, error);
    if (error == 0 && readOnly && !info.exists) {
        error = ENOENT;
    } else if (error == 0 && info.exists && info.isFolder) {
        error = EISDIR;
    }
    if (error != 0) {
        SetFileErrorReport(report, error, nativePath);
        return nullptr;
    }
    // The store keeps what it needs of its factory when it is made.
    YXmlFileStoreFactory factory(path, readOnly ? YXmlFileStoreReadOnly : 0);
    auto store = std::make_unique<YProfileStore>(readOnly, &factory);
    const YReportMessageParams& status = store->GetRootKey().GetStatus();
    if (!status.IsSuccess()) {
        report = status;
        return nullptr;
    }
    return store;
}

bool RemoveSettingsFile(const YUnicodeString& path, YReportMessageParams& report) {
    const std::string nativePath = rivode::ToUtf8(path);
    int error = 0;
    const rivode::platform::FileInfo info = InfoOf(nativePath, error);
    if (error == 0 && info.exists) {
        error =
            info.isFolder ? EISDIR : rivode::platform::FileSystem::Current().DeleteFile(nativePath);
    }
    if (error != 0) {
        SetFileErrorReport(report, error, nativePath);
        return false;
    }
    return true;
}

bool IsFolderInsteadOfSettingsFile(const YUnicodeString& path) {
    int error = 0;
    const rivode::platform::FileInfo info = InfoOf(rivode::ToUtf8(path), error);
    return error == 0 && info.isFolder;
}
