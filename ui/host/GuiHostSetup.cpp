#include "GuiHostSetup.h"

#include "SessionNameDialogs.h"

#include <DavaraZE/YQtUserInterface.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>
#include <RivodeRavudaVU/YMessageTable.h>

namespace rivode::ui {

// Compiled from the host's message sources by the build.
const YMessageTable& GetHostMessageTable();

void PrepareGuiHost(const HostFolders& folders, int product) {
    PrepareHost(YUnicodeString(kGuiAppName), product, kRivodeInitSharePassphrase, folders);
    RegisterHostMessageTable(&GetHostMessageTable());
    RivodeRavudaVuInitGUI(product, nullptr, nullptr);
    YSetUserInterface(YCreateQtUserInterface());
    RegisterSessionOptionsForms();
    RegisterSessionNameForms();
}

}  // namespace rivode::ui
