#include <RivodeRavudaVU/HostSetup.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YXmlFileStore.h>

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YwsPaths.h>

#include "platform/Environment.h"
#include "platform/FileSystem.h"

namespace {

// The store the library opens whenever it is not handed one.
std::unique_ptr<YProfileStoreFactory> hostStoreFactory;

YProfileStoreFactory* GetHostStoreFactory() {
    return hostStoreFactory.get();
}

YUnicodeString WithoutTrailingSlashes(YUnicodeString path) {
    while (path.size() > 1 && path.back() == u'/') {
        path.pop_back();
    }
    return path;
}

// A recorded path is used as the command line would be: a text that is no path (an unpaired
// surrogate has no UTF-8 form) falls through to the default.
bool IsUsablePath(const YUnicodeString& path) {
    std::string utf8;
    return !path.empty() && rivode::ToUtf8Strict(path, utf8);
}

YUnicodeString FindRecordedFolder(const YUnicodeString& appName, int product,
                                  const ConfigFolderNotice& notify, HostFolderSource& source) {
    YUnicodeString path = GetAppConfigPath(appName);
    source = HostFolderSource::Recorded;
    if (path.empty()) {
        path = GetAppConfigPathAlpha(product);
        source = HostFolderSource::RecordedOlder;
    }
    if (path.empty()) {
        source = HostFolderSource::UnderExecutable;
        return GetAppConfigPathUnderExe(rivode::FromUtf8(rivode::platform::GetExecutableFolder()));
    }
    if (!CheckAppConfigPathRedirect(true, notify, product, path) && notify) {
        YReportMessageParams warning(rivode::msg::ConfigFolderMigrationIncomplete);
        warning.AddString(path);
        notify(warning);
    }
    return path;
}

// Paths stored relative to the configuration are relative to the folder of a settings file.
YUnicodeString ConfigurationFolder(const HostFolders& folders) {
    if (!folders.settingsFile) {
        return folders.main;
    }
    const std::size_t slash = folders.main.find_last_of(u'/');
    return slash == YUnicodeString::npos ? YUnicodeString(u".")
           : slash == 0                  ? YUnicodeString(u"/")
                                         : folders.main.substr(0, slash);
}

}  // namespace

void FindHostFolders(const YUnicodeString& appName, int product, const ConfigFolderNotice& notify,
                     HostFolders& folders) {
    // Recording a folder found in an older place or through a redirect writes under the
    // application's key.
    YSetAppName(appName);
    if (folders.source != HostFolderSource::CommandLine) {
        YUnicodeString path = FindRecordedFolder(appName, product, notify, folders.source);
        if (IsUsablePath(path)) {
            folders.main = WithoutTrailingSlashes(std::move(path));
        } else {
            folders.main = GetDefaultConfigFolder();
            folders.source = HostFolderSource::Default;
        }
    }
    if (!folders.settingsFile && !folders.personalGiven && UsePersonalDataPath(appName)) {
        folders.personal = GetAppPersonalDataPath(appName, folders.main);
    }
}

std::unique_ptr<YProfileStoreFactory> MakeHostStoreFactory(const HostFolders& folders) {
    if (folders.settingsFile) {
        return std::make_unique<YXmlFileStoreFactory>(folders.main, YXmlFileStoreReadOnly);
    }
    return std::make_unique<YIniFileStoreFactory>(folders.main, folders.personal);
}

void PrepareHost(const YUnicodeString& appName, int product, int initFlags,
                 const HostFolders& folders) {
    RivodeRavudaVuInit(product, nullptr, initFlags);
    hostStoreFactory = MakeHostStoreFactory(folders);
    RivodeRavudaVuInitProfileFactory(&GetHostStoreFactory);
    YSetAppName(appName);
    SetYwsConfigPathSub(ConfigurationFolder(folders));
}

bool NormaliseHostFolderArgument(std::string_view argument, YUnicodeString& path,
                                 YReportMessageParams& report) {
    if (argument.empty()) {
        report.SetMessage(rivode::msg::FolderArgumentEmpty);
        return false;
    }
    YUnicodeString text;
    if (!rivode::FromUtf8Strict(argument, text)) {
        report.SetMessage(rivode::msg::FolderArgumentNotText);
        report.AddString(rivode::FromUtf8(argument));
        return false;
    }
    path = WithoutTrailingSlashes(std::move(text));
    return true;
}

HostFolderState InspectHostFolder(const YUnicodeString& path) {
    rivode::platform::FileInfo info;
    if (rivode::platform::FileSystem::Current().GetFileInfo(rivode::ToUtf8(path), info) != 0) {
        return HostFolderState::Unreadable;
    }
    if (!info.exists) {
        return HostFolderState::Missing;
    }
    return info.isFolder ? HostFolderState::Folder : HostFolderState::NotAFolder;
}
