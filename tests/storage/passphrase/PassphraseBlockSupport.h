// Shared passphrase blocks under names no other test uses, and a second process acting on them.
#pragma once

#include "storage/ConfigPassphraseBlock.h"

#include <string>

namespace rivode::test {

// Names unique to one test. When the test ends the process's current block is released and the
// named memory and lock file are removed.
class ScopedBlockNames {
public:
    ScopedBlockNames();
    ~ScopedBlockNames();
    ScopedBlockNames(const ScopedBlockNames&) = delete;
    ScopedBlockNames& operator=(const ScopedBlockNames&) = delete;

    const YUnicodeString mapName;
    const YUnicodeString lockName;
};

struct PeerResult {
    std::string output;
    bool killed = false;  // died of a signal, as the "hold" and "abandon" commands do
};

// Runs the peer process on the block of names with a command (see PassphraseBlockPeer.cpp) and
// waits for it to end. argument must not hold a single quote.
PeerResult RunPeer(const ScopedBlockNames& names, const std::string& command,
                   const std::string& argument = {});

}  // namespace rivode::test
