#include "platform/Environment.h"
#include "platform/InterProcessLock.h"
#include "platform/SharedMemory.h"
#include "tests/storage/passphrase/PassphraseBlockSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace rivode::platform {
namespace {

TEST(UserObjectNameTest, EscapesWhatObjectNamesCannotHoldAndKeepsNamesDistinct) {
    const std::string user = "-" + std::to_string(GetUserId());
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"{BE251B73-D0CC}{3}", "{BE251B73-D0CC}{3}"},
        {"a/b", "a%2Fb"},
        {"a%2Fb", "a%252Fb"},  // must not meet "a/b"
        {"tab\there", "tab%09here"},
        {"space here", "space%20here"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetUserObjectName(c.name), c.expected + user) << c.name;
    }
}

class SharedMemoryTest : public ::testing::Test {
protected:
    std::string Name() const { return ToUtf8(names_.mapName); }

    test::ScopedBlockNames names_;
};

TEST_F(SharedMemoryTest, SecondMappingSeesTheFirstsBytesUntilTheNameIsRemoved) {
    std::unique_ptr<SharedMemory> first, second, third;
    bool created = false;
    ASSERT_EQ(SharedMemory::Open(Name(), 4104, first, created), 0);
    EXPECT_TRUE(created);
    const auto* bytes = static_cast<const unsigned char*>(first->Data());
    EXPECT_TRUE(std::all_of(bytes, bytes + 4104, [](unsigned char b) { return b == 0; }));
    std::memcpy(first->Data(), "shared", 6);

    ASSERT_EQ(SharedMemory::Open(Name(), 4104, second, created), 0);
    EXPECT_FALSE(created);
    EXPECT_EQ(std::memcmp(second->Data(), "shared", 6), 0);

    ASSERT_EQ(RemoveSharedMemory(Name()), 0);
    EXPECT_EQ(std::memcmp(first->Data(), "shared", 6), 0);  // mappings outlive the name
    ASSERT_EQ(SharedMemory::Open(Name(), 4104, third, created), 0);
    EXPECT_TRUE(created);
    EXPECT_EQ(static_cast<const char*>(third->Data())[0], 0);
}

TEST_F(SharedMemoryTest, RefusesMemoryOthersCouldReadAndGrowsAShortObject) {
    const std::string path = "/" + GetUserObjectName(Name());
    const int fd = ::shm_open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    std::unique_ptr<SharedMemory> memory;
    bool created = true;
    // Left at size 0, as by a creator that died before sizing it.
    ASSERT_EQ(SharedMemory::Open(Name(), 4104, memory, created), 0);
    EXPECT_FALSE(created);
    struct stat st;
    ASSERT_EQ(::fstat(fd, &st), 0);
    EXPECT_EQ(st.st_size, 4104);

    ASSERT_EQ(::fchmod(fd, 0644), 0);
    ::close(fd);
    memory.reset();
    EXPECT_EQ(SharedMemory::Open(Name(), 4104, memory, created), EACCES);
    EXPECT_EQ(memory, nullptr);
}

TEST(InterProcessLockTest, CountsTheAttachedLocksOfOneName) {
    test::ScopedBlockNames names;
    const std::string name = ToUtf8(names.lockName);
    std::unique_ptr<InterProcessLock> a, b;
    ASSERT_EQ(InterProcessLock::Open(name, a), 0);
    ASSERT_EQ(InterProcessLock::Open(name, b), 0);
    bool sole = false;
    ASSERT_EQ(a->Attach(sole), 0);
    EXPECT_TRUE(sole);
    ASSERT_EQ(b->Attach(sole), 0);
    EXPECT_FALSE(sole);
    ASSERT_EQ(a->Detach(sole), 0);
    EXPECT_FALSE(sole);  // b is still attached
    ASSERT_EQ(a->Attach(sole), 0);
    EXPECT_FALSE(sole);
    b.reset();  // closing ends b's attachment, as a process's death does
    ASSERT_EQ(a->Detach(sole), 0);
    EXPECT_TRUE(sole);
}

}  // namespace
}  // namespace rivode::platform
