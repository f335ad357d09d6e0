#include <DavaraZE/YAppName.h>

#include "platform/Environment.h"

#include <mutex>

namespace {

std::mutex appNameMutex;
YUnicodeString appName;

}  // namespace

YUnicodeString YGetAppName() {
    {
        std::lock_guard lock(appNameMutex);
        if (!appName.empty()) {
            return appName;
        }
    }
    // A host that never named itself is still recognisable by its program file.
    return rivode::FromUtf8(rivode::platform::GetExecutableName());
}

void YSetAppName(const YUnicodeString& name) {
    std::lock_guard lock(appNameMutex);
    appName = name;
}
