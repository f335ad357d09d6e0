#include <DavaraZE/YwsPaths.h>

#include "platform/Environment.h"

#include <mutex>

namespace {

std::mutex configPathMutex;
YUnicodeString configPath;

void DropTrailingSeparators(YUnicodeString& folder) {
    while (folder.size() > 1 && folder.back() == u'/') {
        folder.pop_back();
    }
}

}  // namespace

YUnicodeString GetDefaultConfigFolder() {
    return rivode::FromUtf8(rivode::platform::GetUserConfigFolder() + "/yarrowby/Config");
}

void SetYwsConfigPathSub(const YUnicodeString& folder) {
    YUnicodeString trimmed = folder;
    DropTrailingSeparators(trimmed);
    std::lock_guard lock(configPathMutex);
    configPath = std::move(trimmed);
}

YUnicodeString GetYwsConfigPathSub() {
    {
        std::lock_guard lock(configPathMutex);
        if (!configPath.empty()) {
            return configPath;
        }
    }
    return GetDefaultConfigFolder();
}

YUnicodeString GetYwsInstallPathSub() {
    return rivode::FromUtf8(rivode::platform::GetInstallFolder());
}

YUnicodeString GetYwsUserDataPathSub() {
    return rivode::FromUtf8(rivode::platform::GetUserDataFolder() + "/yarrowby");
}

YUnicodeString GetYwsSshDataPathSub() {
    return GetYwsUserDataPathSub() + u"/SSH";
}
