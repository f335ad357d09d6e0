#include "cli/CommandLine.h"

int main(int argc, char** argv) {
    return rivode::cli::RunCommandLine(argc, argv);
}
