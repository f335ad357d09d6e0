#include "cli/HostSetup.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YUserInterface.h>
#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YMessageTable.h>

#include <memory>

namespace rivode::cli {

// Compiled from the host's message sources by the build.
const YMessageTable& GetHostMessageTable();

namespace {

// The store the library opens whenever it is not handed one: the folders of this run.
std::unique_ptr<YIniFileStoreFactory> folderStoreFactory;

YProfileStoreFactory* GetFolderStoreFactory() {
    return folderStoreFactory.get();
}

}  // namespace

void PrepareConsoleHost(const StoreFolders& folders, int product) {
    // rivode shares the passphrase like any host: one the user's other host processes have
    // established is known here too.
    RivodeRavudaVuInit(product, nullptr, kRivodeInitSharePassphrase | kRivodeInitNoUserInterface);
    folderStoreFactory =
        std::make_unique<YIniFileStoreFactory>(FromUtf8(folders.main), FromUtf8(folders.personal));
    RivodeRavudaVuInitProfileFactory(&GetFolderStoreFactory);
    RegisterHostMessageTable(&GetHostMessageTable());
    YSetAppName(YUnicodeString(kRivodeAppName));
    YSetUserInterface(YCreateConsoleUserInterface());
    SetYwsConfigPathSub(FromUtf8(folders.main));
}

}  // namespace rivode::cli
