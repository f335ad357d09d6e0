#include "tests/storage/passphrase/PassphraseBlockSupport.h"

#include "platform/InterProcessLock.h"
#include "platform/SharedMemory.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>

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
    RemoveBlockObjects(mapName, lockName);
}

void RemoveBlockObjects(const YUnicodeString& mapName, const YUnicodeString& lockName) {
    EXPECT_EQ(platform::RemoveSharedMemory(ToUtf8(mapName)), 0);
    EXPECT_EQ(platform::RemoveInterProcessLock(ToUtf8(lockName)), 0);
}

PeerResult RunPeer(const ScopedBlockNames& names, const std::vector<std::string>& command) {
    std::vector<std::string> arguments = {PASSPHRASE_BLOCK_PEER, ToUtf8(names.mapName),
                                          ToUtf8(names.lockName)};
    arguments.insert(arguments.end(), command.begin(), command.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    PeerResult result;
    int output[2];
    if (::pipe(output) != 0) {
        ADD_FAILURE() << "pipe failed";
        return result;
    }
    const pid_t peer = ::fork();
    if (peer == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        ::close(output[1]);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(output[1]);
    char buffer[256];
    for (ssize_t n; (n = ::read(output[0], buffer, sizeof buffer)) > 0;) {
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(output[0]);
    int status = 0;
    if (peer < 0 || ::waitpid(peer, &status, 0) != peer) {
        ADD_FAILURE() << "the peer process did not run";
        return result;
    }
    result.killed = WIFSIGNALED(status);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string ReadBlockBytes(const YUnicodeString& mapName) {
    std::unique_ptr<platform::SharedMemory> memory;
    bool created = false;
    EXPECT_EQ(platform::SharedMemory::Open(ToUtf8(mapName), YSharedMemoryCache::kSize, memory,
                                           created),
              0);
    EXPECT_FALSE(created);
    if (!memory) {
        return {};
    }
    return std::string(static_cast<const char*>(memory->Data()), memory->Size());
}

}  // namespace rivode::test
