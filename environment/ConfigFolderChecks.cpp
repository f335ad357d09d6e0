// Checks of the configuration folder a host is about to use: one named on its command line,
// and one that was moved elsewhere and left a redirect behind.
#include <RivodeRavudaVU/ConfigFolders.h>

#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YProfilePath.h>

#include "platform/FileSystem.h"

#include <vector>

namespace {

using rivode::EndsWithNoCase;
using rivode::FromUtf8;
using rivode::ToUtf8;
using rivode::ToUtf8Strict;

constexpr std::u16string_view kRedirectKeyName = u"YWSRedirect";
constexpr std::u16string_view kNewConfigPathValue = u"New Config Path";
constexpr std::u16string_view kVersionValue = u"Version";

bool IsSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

bool HasIndexFile(const YUnicodeString& folder) {
    std::vector<rivode::platform::FolderEntry> entries;
    if (rivode::platform::FileSystem::Current().ListFolder(ToUtf8(folder), entries) != 0) {
        return false;
    }
    for (const auto& entry : entries) {
        if (!entry.isFolder && EndsWithNoCase(FromUtf8(entry.name), u".idx")) {
            return true;
        }
    }
    return false;
}

// Global.ini moved aside in the given folder, which need not be the one in use yet.
bool RenameGlobalConfigIn(const YUnicodeString& folder) {
    const YUnicodeString current = GetYwsConfigPathSub();
    SetYwsConfigPathSub(folder);
    const bool renamed = RenameGlobalConfig();
    SetYwsConfigPathSub(current);
    return renamed;
}

}  // namespace

bool CheckAppConfigPathCommandLine(const YUnicodeString& argument, YUnicodeString& path,
                                   YReportMessageParams& report) {
    YUnicodeString folder = argument;
    while (!folder.empty() && IsSeparator(folder.back())) {
        if (folder.size() >= 2 && folder[folder.size() - 2] == u':') {
            break;  // "C:\" names a drive's root, which keeps its separator
        }
        if (folder.size() == 1) {
            break;  // "/" is the root folder
        }
        folder.pop_back();
    }
    const YUnicodeString expanded = ProfilePath().Expand(folder);
    rivode::platform::FileInfo info;
    std::string native;
    if (!expanded.empty() && ToUtf8Strict(expanded, native) &&
        rivode::platform::FileSystem::Current().GetFileInfo(native, info) == 0 && info.exists &&
        info.isFolder) {
        path = expanded;
        return true;
    }
    report.SetMessage(rivode::msg::InvalidCommandLineConfigFolder);
    report.AddString(argument);
    return false;
}

bool CheckAppConfigPathRedirect(bool save, const ConfigFolderNotice& notify, int product,
                                YUnicodeString& path) {
    if (path.empty()) {
        return true;
    }
    YUnicodeString newPath;
    {
        YIniFileStoreFactory factory(path);
        YProfileStore store(true, &factory);
        YProfileKey& root = store.GetRootKey();
        if (!HasIndexFile(path) && !root.SubKeyExists(kGlobalKeyName)) {
            return true;  // a fresh folder
        }
        const YProfileKey global(root, kGlobalKeyName);
        YUnicodeString version;
        if (global.GetString(kVersionValue, version) &&
            (version == kGlobalConfigVersion || version == kGlobalConfigOlderVersion)) {
            return true;
        }
        const YProfileKey redirect(root, kRedirectKeyName);
        if (!redirect.GetString(kNewConfigPathValue, newPath)) {
            newPath.clear();
        }
    }
    if (newPath.empty()) {
        return RenameGlobalConfigIn(path);
    }
    YReportMessageParams notice;
    notice.SetMessage(rivode::msg::ConfigFolderMigrated);
    notice.AddString(path);
    notice.AddString(newPath);
    if (notify) {
        notify(notice);
    }
    path = newPath;
    if (save) {
        YReportMessageParams report;
        if (!SaveAppConfigPath(newPath, product, false, report) && notify) {
            notify(report);
        }
    }
    return true;
}
