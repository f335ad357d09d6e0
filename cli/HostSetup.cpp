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

// Paths stored relative to the configuration are relative to the folder of a settings file.
std::string ConfigurationFolder(const StoreFolders& folders) {
    if (!folders.settingsFile) {
        return folders.main;
    }
    const std::size_t slash = folders.main.find_last_of('/');
    return slash == std::string::npos ? std::string(".")
           : slash == 0              ? std::string("/")
                                     : folders.main.substr(0, slash);
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
    SetYwsConfigPathSub(FromUtf8(ConfigurationFolder(folders)));
}

}  // namespace rivode::cli
