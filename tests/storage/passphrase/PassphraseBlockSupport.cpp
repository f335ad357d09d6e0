#include "tests/storage/passphrase/PassphraseBlockSupport.h"

#include "platform/InterProcessLock.h"
#include "platform/SharedMemory.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace rivode::test {
namespace {

YUnicodeString UniqueName(const char* role) {
    static std::atomic<int> counter{0};
    return FromAscii("passblock-test-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter++) + "-" + role);
}

}  // namespace

ScopedBlockNames::ScopedBlockNames() : mapName(UniqueName("map")), lockName(UniqueName("lock")) {}

ScopedBlockNames::~ScopedBlockNames() {
    ReleasePassphraseBlock();
    EXPECT_EQ(platform::RemoveSharedMemory(ToUtf8(mapName)), 0);
    EXPECT_EQ(platform::RemoveInterProcessLock(ToUtf8(lockName)), 0);
}

PeerResult RunPeer(const ScopedBlockNames& names, const std::string& command,
                   const std::string& argument) {
    const std::string line = std::string(PASSPHRASE_BLOCK_PEER) + " " + ToUtf8(names.mapName) +
                             " " + ToUtf8(names.lockName) + " " + command + " '" + argument + "'";
    PeerResult result;
    FILE* peer = ::popen(line.c_str(), "r");
    if (peer == nullptr) {
        ADD_FAILURE() << "cannot run " << line;
        return result;
    }
    char buffer[256];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, peer)) > 0;) {
        result.output.append(buffer, n);
    }
    const int status = ::pclose(peer);
    // A shell that does not hand over to the peer reports its death by signal as status > 128.
    const bool exited = WIFEXITED(status);
    result.killed = WIFSIGNALED(status) || (exited && WEXITSTATUS(status) > 128);
    EXPECT_TRUE(result.killed || (exited && WEXITSTATUS(status) == 0)) << line;
    return result;
}

}  // namespace rivode::test
