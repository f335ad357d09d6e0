// Memory for secrets: left out of core dumps, and zero once released.
#include "platform/SecureMemory.h"
#include "platform/SharedMemory.h"
#include "tests/support/DumpedMemory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace rivode::test {
namespace {

using platform::AllocateSecureMemory;
using platform::FreeSecureMemory;

TEST(SecureMemory, ReleasedMemoryIsZeroWhenItServesTheNextAllocation) {
    for (const std::size_t size : {std::size_t{1}, std::size_t{100}, std::size_t{9000}}) {
        SCOPED_TRACE(size);
        auto* secret = static_cast<unsigned char*>(AllocateSecureMemory(size));
        std::memset(secret, 0xA5, size);
        FreeSecureMemory(secret, size);
        // A released region of a few pages serves the next allocation of its size: that is
        // where the secret would still be.
        auto* next = static_cast<unsigned char*>(AllocateSecureMemory(size));
        ASSERT_EQ(next, secret);
        EXPECT_TRUE(std::all_of(next, next + size, [](unsigned char byte) { return byte == 0; }));
        FreeSecureMemory(next, size);
    }
}

TEST(SecureMemory, SecretsLieInMemoryThatCoreDumpsLeaveOut) {
    const auto ordinary = std::make_unique<char[]>(64);
    ASSERT_FALSE(IsLeftOutOfCoreDumps(ordinary.get()));  // the check tells the difference

    const std::size_t large = 64 * static_cast<std::size_t>(::getpagesize());
    void* const small = AllocateSecureMemory(32);
    void* const big = AllocateSecureMemory(large);
    const platform::SecureChars text(100, 'x');
    EXPECT_TRUE(IsLeftOutOfCoreDumps(small));
    EXPECT_TRUE(IsLeftOutOfCoreDumps(static_cast<char*>(big) + large - 1));
    EXPECT_TRUE(IsLeftOutOfCoreDumps(text.data()));
    FreeSecureMemory(small, 32);
    FreeSecureMemory(big, large);

    // Shared memory carries the passphrase between the user's processes.
    const std::string name = "secure-memory-test-" + std::to_string(::getpid());
    std::unique_ptr<platform::SharedMemory> shared;
    bool created = false;
    ASSERT_EQ(platform::SharedMemory::Open(name, 4104, shared, created), 0);
    EXPECT_TRUE(IsLeftOutOfCoreDumps(shared->Data()));
    EXPECT_EQ(platform::RemoveSharedMemory(name), 0);
}

}  // namespace
}  // namespace rivode::test
