#include "config/GlobalConfigRename.h"

#include <RivodeRavudaVU/GlobalConfig.h>

#include <DavaraZE/YwsPaths.h>

#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <vector>

using rivode::platform::FileInfo;
using rivode::platform::FileSystem;
using rivode::platform::FolderEntry;

namespace rivode::config {
namespace {

constexpr std::string_view kGlobalFileName = "Global.ini";

// The name of the folder's Global.ini as it is spelled on disk; empty when there is none.
std::string FindGlobalFile(const std::string& folder) {
    FileSystem& files = FileSystem::Current();
    FileInfo info;
    if (files.GetFileInfo(folder + "/" + std::string(kGlobalFileName), info) == 0 && info.exists) {
        return std::string(kGlobalFileName);
    }
    std::vector<FolderEntry> entries;
    if (files.ListFolder(folder, entries) != 0) {
        return {};
    }
    for (const FolderEntry& entry : entries) {
        if (!entry.isFolder && EqualsNoCase(FromUtf8(entry.name), FromAscii(kGlobalFileName))) {
            return entry.name;
        }
    }
    return {};
}

}  // namespace

std::string GlobalIncompleteFileName(const rivode::platform::LocalDateTime& time) {
    // Day before month: the names have always been stamped this way, and tools that clean up
    // old files match them so.
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d", time.year, time.day, time.month,
                  time.hour, time.minute, time.second);
    return std::string("Global-incomplete-") + stamp + ".ini";
}

bool RenameGlobalConfigAt(const rivode::platform::LocalDateTime& time) {
    const std::string folder = ToUtf8(GetYwsConfigPathSub());
    const std::string source = FindGlobalFile(folder);
    if (source.empty()) {
        return true;
    }
    FileSystem& files = FileSystem::Current();
    const std::string target = folder + "/" + GlobalIncompleteFileName(time);
    const int deleted = files.DeleteFile(target);
    if (deleted != 0 && deleted != ENOENT) {
        return false;
    }
    return files.Rename(folder + "/" + source, target) == 0;
}

}  // namespace rivode::config

bool RenameGlobalConfig() {
    return rivode::config::RenameGlobalConfigAt(rivode::platform::GetLocalDateTime());
}
