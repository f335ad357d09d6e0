// passphrase_block_peer MAP LOCK COMMAND [PASSPHRASE]: opens the shared block of the names and
//   publish PASSPHRASE  publishes it and exits
//   read                prints the published passphrase
//   claim               claims the passphrase entry: prints "claimed" or "refused"
//   hold                takes the block's lock, prints "held" and dies holding it
//   abandon PASSPHRASE  publishes it, claims the entry and dies without closing the block
// Exit status 2 when the block cannot be opened or the command is unknown.
#include "storage/passphrase/ConfigPassphraseBlock.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>

#include <csignal>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    YReportMessageParams report;
    if (argc < 4 ||
        !OpenSharedPassphraseBlock(rivode::FromUtf8(argv[1]), rivode::FromUtf8(argv[2]), report)) {
        return 2;
    }
    const std::string command = argv[3];
    const YUnicodeString passphrase = rivode::FromUtf8(argc > 4 ? argv[4] : "");
    if (command == "publish" || command == "abandon") {
        SetConfigPassphrase(passphrase.c_str());
    } else if (command == "read") {
        std::printf("%s", rivode::ToUtf8(GetConfigPassphrase()).c_str());
    } else if (command == "claim") {
        std::printf("%s", ClaimPassphraseEntry() ? "claimed" : "refused");
    } else if (command == "hold") {
        LockedPassphraseBlock block;
        std::printf("held");
        std::fflush(stdout);
        std::raise(SIGKILL);
    } else {
        return 2;
    }
    if (command == "abandon") {
        (void)ClaimPassphraseEntry();
        std::raise(SIGKILL);
    }
    ReleasePassphraseBlock();
    return 0;
}
