#include "cli/HostSetup.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YUserInterface.h>
#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/SiblingProducts.h>
#include <RivodeRavudaVU/YMessageTable.h>

#include "products/HostProduct.h"

namespace rivode::cli {

// Compiled from the host's message sources by the build.
const YMessageTable& GetHostMessageTable();

void PrepareConsoleHost(const StoreFolders& folders, int product) {
    SetHostProduct(product, kHostInitNoUserInterface);
    DetectSiblingProducts();
    RegisterHostMessageTable(&GetHostMessageTable());
    YSetAppName(u"rivode");
    YSetUserInterface(YCreateConsoleUserInterface());
    SetYwsConfigPathSub(FromUtf8(folders.main));
}

}  // namespace rivode::cli
