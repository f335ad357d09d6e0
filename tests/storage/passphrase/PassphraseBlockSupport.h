// Shared passphrase blocks under names no other test uses, and a second process acting on them.
#pragma once

#include "storage/ConfigPassphraseBlock.h"

#include <string>
#include <vector>

namespace rivode::test {

// Names unique to one test; the named memory and lock file are removed when the test ends, and
// the process's current block is released so the next test starts without one.
class ScopedBlockNames {
public:
    ScopedBlockNames();
    ~ScopedBlockNames();
    ScopedBlockNames(const ScopedBlockNames&) = delete;
    ScopedBlockNames& operator=(const ScopedBlockNames&) = delete;

    const YUnicodeString mapName;
    const YUnicodeString lockName;
};

// Removes the named memory and lock file of the names.
void RemoveBlockObjects(const YUnicodeString& mapName, const YUnicodeString& lockName);

struct PeerResult {
    std::string output;
    bool killed = false;  // died of a signal, as the "hold" and "abandon" commands do
    int exitCode = -1;
};

// Runs the peer process on the block of names with the command and its argument, and waits for
// it to end.
PeerResult RunPeer(const ScopedBlockNames& names, const std::vector<std::string>& command);

// The bytes of the named memory, read through a mapping of their own.
std::string ReadBlockBytes(const YUnicodeString& mapName);

}  // namespace rivode::test
