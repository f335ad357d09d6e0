#include "platform/Environment.h"
#include "platform/SharedMemory.h"
#include "tests/storage/passphrase/PassphraseBlockSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetUserObjectName(c.name), c.expected + user) << c.name;
    }
}

TEST(SharedMemoryTest, GrowsAShortObjectAndRefusesOneOthersCouldRead) {
    test::ScopedBlockNames names;
    const std::string name = ToUtf8(names.mapName);
    // Left at size 0, as by a creator that died before sizing it.
    const int fd = ::shm_open(("/" + GetUserObjectName(name)).c_str(), O_RDWR | O_CREAT, 0600);
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

}  // namespace
}  // namespace rivode::platform
