#include "cli/HostSetup.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YUserInterface.h>
#include <DavaraZE/YwsPaths.h>

namespace rivode::cli {

void PrepareConsoleHost(const StoreFolders& folders) {
    YSetAppName(u"rivode");
    YSetUserInterface(YCreateConsoleUserInterface());
    SetYwsConfigPathSub(FromUtf8(folders.main));
}

}  // namespace rivode::cli
