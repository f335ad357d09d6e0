// The shared passphrase block across processes, and the named objects it lives in: each test
// uses names no other test uses, and a second process (passphrase_block_peer) acts on them.
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/InterProcessLock.h"
#include "platform/SharedMemory.h"
#include "storage/passphrase/ConfigPassphraseBlock.h"
#include "storage/passphrase/YIpcLock.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/YEncryptedString.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace rivode::test {
namespace {

using platform::GetUserObjectName;
using platform::SharedMemory;

YUnicodeString UniqueName(const char* role) {
    static std::atomic<int> counter{0};
    return FromAscii("passblock-test-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter++) + "-" + role);
}

// When the test ends the process's current block is released and the named memory and lock
// file are removed.
struct ScopedBlockNames {
    ~ScopedBlockNames() {
        ReleasePassphraseBlock();
        EXPECT_EQ(platform::RemoveSharedMemory(ToUtf8(mapName)), 0);
        EXPECT_EQ(platform::RemoveInterProcessLock(ToUtf8(lockName)), 0);
    }
    const YUnicodeString mapName = UniqueName("map");
    const YUnicodeString lockName = UniqueName("lock");
};

struct PeerResult {
    std::string output;
    bool killed = false;  // died of a signal, as the "hold" and "abandon" commands do
};

// Runs the peer on the block of names with a command (see PassphraseBlockPeer.cpp) and waits
// for it to end. argument must not hold a single quote.
PeerResult RunPeer(const ScopedBlockNames& names, const std::string& command,
                   const std::string& argument = {}) {
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

TEST(UserObjectNameTest, EscapesWhatObjectNamesCannotHoldAndKeepsNamesDistinct) {
    const std::string user = "-" + std::to_string(platform::GetUserId());
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"{BE251B73-D0CC}{3}", "{BE251B73-D0CC}{3}"},
        {"a/b", "a%2Fb"},
        {"a%2Fb", "a%252Fb"},  // must not meet "a/b"
        {"tab\there", "tab%09here"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetUserObjectName(c.name), c.expected + user) << c.name;
    }
}

TEST(SharedMemoryTest, GrowsAShortObjectAndRefusesOneOthersCouldRead) {
    ScopedBlockNames names;
    const std::string name = ToUtf8(names.mapName);
    // Left at size 0, as by a creator that died before sizing it.
    const int fd =
        ::shm_open(platform::GetSharedMemoryObjectName(name).c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    std::unique_ptr<SharedMemory> memory;
    bool created = true;
    ASSERT_EQ(SharedMemory::Open(name, 4104, memory, created), 0);
    EXPECT_FALSE(created);
    struct stat st;
    ASSERT_EQ(::fstat(fd, &st), 0);
    EXPECT_EQ(st.st_size, 4104);

    ASSERT_EQ(::fchmod(fd, 0644), 0);
    ::close(fd);
    memory.reset();
    EXPECT_EQ(SharedMemory::Open(name, 4104, memory, created), EACCES);
    EXPECT_EQ(memory, nullptr);
}

// In a runtime folder others can write, another user may make the lock file's name first: the
// lock is then refused with a report that names the file, and nothing it points to is touched.
TEST(InterProcessLockTest, RefusesALockFileThatIsNotTheUsersOwnPrivateRegularFile) {
    struct Case {
        const char* what;
        int expected;
        void (*plant)(const std::string& path);
    };
    static const std::string elsewhere =
        platform::GetUserRuntimeFolder() + "/lock-target-" + std::to_string(::getpid());
    const Case cases[] = {
        {"own private file", 0,
         [](const std::string& path) { ::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0600)); }},
        {"symbolic link", ELOOP,
         [](const std::string& path) { ASSERT_EQ(::symlink(elsewhere.c_str(), path.c_str()), 0); }},
        {"open to others", EACCES,
         [](const std::string& path) {
             const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0600);
             ASSERT_EQ(::fchmod(fd, 0666), 0);
             ::close(fd);
         }},
        {"another user's", EACCES,
         [](const std::string& path) {
             ::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0600));
             ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
         }},
        {"pipe", platform::kErrorNotRegularFile,
         [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.plant == cases[3].plant && ::geteuid() != 0) {
            continue;  // only an administrator can give a file to another user
        }
        const YUnicodeString name = UniqueName("lock");
        const std::string path = platform::GetInterProcessLockPath(ToUtf8(name));
        c.plant(path);
        YIpcLock lock;
        YReportMessageParams report;
        const bool opened = lock.Open(name, report);
        EXPECT_EQ(opened, c.expected == 0);
        EXPECT_EQ(GetSystemErrorCause(report), c.expected);
        if (!opened) {
            EXPECT_NE(ToUtf8(report.GetText()).find(path), std::string::npos)
                << ToUtf8(report.GetText());
        }
        ::unlink(path.c_str());
    }
    EXPECT_NE(::access(elsewhere.c_str(), F_OK), 0);  // the link's target was not created
}

class SharedPassphraseBlockTest : public ::testing::Test {
protected:
    void Open() {
        YReportMessageParams report;
        ASSERT_TRUE(OpenSharedPassphraseBlock(names_.mapName, names_.lockName, report))
            << ToUtf8(report.GetText());
        ASSERT_TRUE(GetPassphraseBlock()->IsShared());
    }

    // A mapping of the named memory of its own: what another process sees. Null when this call
    // had to create the memory.
    std::unique_ptr<SharedMemory> MapAgain() const {
        std::unique_ptr<SharedMemory> memory;
        bool created = false;
        EXPECT_EQ(SharedMemory::Open(ToUtf8(names_.mapName), 4104, memory, created), 0);
        return created ? nullptr : std::move(memory);
    }

    ScopedBlockNames names_;
};

TEST_F(SharedPassphraseBlockTest, OtherProcessesFindEachFieldAtItsOffset) {
    Open();
    SetConfigPassphrase(u"pass");
    SetConfigPassphraseDisabled(true);
    ASSERT_TRUE(ClaimPassphraseEntry());

    const auto memory = MapAgain();
    ASSERT_NE(memory, nullptr);
    // The fields' offsets are fixed by the layout's own static checks.
    const auto& block = *static_cast<const ConfigPassphraseBlock*>(memory->Data());
    EXPECT_EQ(block.formatMarker, 1u);
    const YUnicodeString text = block.passphraseText;
    EXPECT_EQ(text.substr(0, 3), u"02:");
    YEncryptedString published;
    published.SetEncryptedText(text);
    YUnicodeString plaintext;
    EXPECT_TRUE(published.GetPlaintext(plaintext, u""));
    EXPECT_EQ(plaintext, u"pass");
    EXPECT_EQ(block.disabled, 1);
    EXPECT_EQ(block.entryInProgress, 1);
}

TEST_F(SharedPassphraseBlockTest, TwoProcessesSeeEachOthersPassphraseAndEntryClaim) {
    Open();
    RunPeer(names_, "publish", "from peer ☃");
    EXPECT_EQ(GetConfigPassphrase(), u"from peer ☃");
    SetConfigPassphrase(u"from test");
    EXPECT_EQ(RunPeer(names_, "read").output, "from test");

    ASSERT_TRUE(ClaimPassphraseEntry());
    EXPECT_FALSE(ClaimPassphraseEntry()) << "not even this process claims it twice";
    EXPECT_EQ(RunPeer(names_, "claim").output, "refused");
    ReleasePassphraseEntry();
    EXPECT_EQ(RunPeer(names_, "claim").output, "claimed");
    EXPECT_FALSE(ClaimPassphraseEntry()) << "the claim stays after the claimer exits";
}

TEST_F(SharedPassphraseBlockTest, ProcessDyingWithTheLockDoesNotBlockOthers) {
    Open();
    const auto peer = RunPeer(names_, "hold");
    ASSERT_EQ(peer.output, "held");
    ASSERT_TRUE(peer.killed);
    ::alarm(60);  // a lock left behind would hang here: end the test instead
    SetConfigPassphrase(u"after");
    EXPECT_EQ(GetConfigPassphrase(), u"after");
    ::alarm(0);
}

TEST_F(SharedPassphraseBlockTest, BlockLastsOnlyWhileSomeProcessHasItOpen) {
    // Left by a process that died holding the entry claim: the next opener starts clean.
    ASSERT_TRUE(RunPeer(names_, "abandon", "stale").killed);
    Open();
    EXPECT_FALSE(IsPassphraseKnown());
    EXPECT_TRUE(ClaimPassphraseEntry());
    // Closed by its last user: the memory is gone.
    ReleasePassphraseBlock();
    EXPECT_EQ(MapAgain(), nullptr);
}

}  // namespace
}  // namespace rivode::test
