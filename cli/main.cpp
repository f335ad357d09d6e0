#include "CommandLine.h"

#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/YSecretText.h>

int main(int argc, char** argv) {
    // rivode holds passphrases and plaintexts in ordinary memory too (the texts the library's
    // API hands out), so no dump of it may ever be written. The call cannot fail on the systems
    // rivode runs on; were it to, rivode would be no worse off than before.
    (void)YProtectProcessSecrets();
    const int status = rivode::cli::RunCommandLine(argc, argv);
    RivodeRavudaVuCleanupForUnload();
    return status;
}
