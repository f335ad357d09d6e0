#include "cli/HostSetup.h"

#include "cli/StoreFactory.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YUserInterface.h>
#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/YMessageTable.h>

#include <memory>

namespace rivode::cli {

// Compiled from the host's message sources by the build.
const YMessageTable& GetHostMessageTable();

namespace {

// The store the library opens whenever it is not handed one: the folders of this run.
std::unique_ptr<YProfileStoreFactory> folderStoreFactory;

YProfileStoreFactory* GetFolderStoreFactory() {
    return folderStoreFactory.get();
}

}  // namespace

void PrepareConsoleHost(const StoreFolders& folders, int product) {
    // rivode shares the passphrase like any host: one the user's other host processes have
    // established is known here too.
    RivodeRavudaVuInit(product, nullptr, kRivodeInitSharePassphrase | kRivodeInitNoUserInterface);
    folderStoreFactory = MakeStoreFactory(folders);
    RivodeRavudaVuInitProfileFactory(&GetFolderStoreFactory);
    RegisterHostMessageTable(&GetHostMessageTable());
    YSetAppName(YUnicodeString(kRivodeAppName));
    YSetUserInterface(YCreateConsoleUserInterface());
    // Paths stored relative to the configuration are relative to the folder of a settings file.
    const std::size_t slash = folders.main.find_last_of('/');
    SetYwsConfigPathSub(FromUtf8(folders.settingsFile && slash != std::string::npos
                                     ? folders.main.substr(0, std::max<std::size_t>(slash, 1))
                                     : folders.main));
}

}  // namespace rivode::cli
