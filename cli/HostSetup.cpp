#include "HostSetup.h"

#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/YMessageTable.h>

namespace rivode::cli {

// Compiled from the host's message sources by the build.
const YMessageTable& GetHostMessageTable();

void PrepareConsoleHost(const StoreFolders& folders, int product) {
    // rivode shares the passphrase like any host: one the user's other host processes have
    // established is known here too.
    PrepareHost(YUnicodeString(kRivodeAppName), product,
                kRivodeInitSharePassphrase | kRivodeInitNoUserInterface, ToHostFolders(folders));
    RegisterHostMessageTable(&GetHostMessageTable());
    YSetUserInterface(YCreateConsoleUserInterface());
}

}  // namespace rivode::cli
