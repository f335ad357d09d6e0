#include "cli/CommandLine.h"

#include <RivodeRavudaVU/LibraryEntry.h>

int main(int argc, char** argv) {
    const int status = rivode::cli::RunCommandLine(argc, argv);
    RivodeRavudaVuCleanupForUnload();
    return status;
}
