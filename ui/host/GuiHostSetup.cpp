#include "ui/host/GuiHostSetup.h"

#include "cli/HostSetup.h"
#include "cli/StoreFactory.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YQtUserInterface.h>
#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/YMessageTable.h>

#include <memory>

namespace rivode::cli {
// Compiled from the host's message sources by the build.
const YMessageTable& GetHostMessageTable();
}  // namespace rivode::cli

namespace rivode::ui {
namespace {

std::unique_ptr<YProfileStoreFactory> folderStoreFactory;

YProfileStoreFactory* GetFolderStoreFactory() {
    return folderStoreFactory.get();
}

}  // namespace

void PrepareGuiHost(const cli::StoreFolders& folders, int product) {
    RivodeRavudaVuInit(product, nullptr, kRivodeInitSharePassphrase);
    folderStoreFactory = cli::MakeStoreFactory(folders);
    RivodeRavudaVuInitProfileFactory(&GetFolderStoreFactory);
    RegisterHostMessageTable(&cli::GetHostMessageTable());
    // One application with rivode: the same registry key, so both find the same folders.
    YSetAppName(YUnicodeString(cli::kRivodeAppName));
    RivodeRavudaVuInitGUI(product, nullptr, nullptr);
    YSetUserInterface(YCreateQtUserInterface());
    SetYwsConfigPathSub(FromUtf8(folders.main));
}

}  // namespace rivode::ui
