// Memory for secrets: left out of core dumps, and zero once released.
#include <RivodeRavudaVU/YSecretText.h>
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

// Whether the bytes of a text's characters appear anywhere in the memory.
bool HoldsText(const void* memory, std::size_t size, std::u16string_view text) {
    const auto* bytes = static_cast<const char*>(memory);
    const auto* wanted = reinterpret_cast<const char*>(text.data());
    return std::search(bytes, bytes + size, wanted, wanted + text.size() * 2) != bytes + size;
}

bool IsZero(const YUnicodeString& text) {
    return std::all_of(text.data(), text.data() + text.capacity(),
                       [](char16_t c) { return c == 0; });
}

TEST(SecretText, NoCharacterOfTheSecretOutlivesItsOwnerOnAnyPath) {
    // A short text lives inside the string object, where destruction and moving can be watched
    // without reading freed memory.
    // Moving overwrites the first character with the terminator: the rest tells.
    const std::u16string_view secret = u"pw42";
    const std::u16string_view rest = secret.substr(1);
    alignas(YSecretText) unsigned char storage[2][sizeof(YSecretText)];
    auto* source = new (storage[0]) YSecretText(YUnicodeString(secret));
    auto* target = new (storage[1]) YSecretText(std::move(*source));
    EXPECT_EQ(target->Text(), secret);
    EXPECT_FALSE(HoldsText(storage[0], sizeof(YSecretText), rest)) << "moved from";
    std::destroy_at(target);
    std::destroy_at(source);
    EXPECT_FALSE(HoldsText(storage[1], sizeof(YSecretText), rest)) << "destroyed";

    // A long text shortened keeps its end in the buffer: the whole capacity goes.
    YSecretText longer(YUnicodeString(200, u'k'));
    longer.Text().resize(3);
    longer.Wipe();
    EXPECT_TRUE(longer.empty());
    EXPECT_TRUE(IsZero(longer.Text()));

    // A text held elsewhere (a dialog's field) is wiped when its guard goes, early return or not.
    YUnicodeString field;
    const auto ask = [&field](bool early) {
        const YWipeTextOnExit wipe(field);
        field.assign(100, u's');
        if (early) {
            return;
        }
        field += u"!";
    };
    for (const bool early : {true, false}) {
        ask(early);
        EXPECT_TRUE(field.empty());
        EXPECT_TRUE(IsZero(field));
    }
}

}  // namespace
}  // namespace rivode::test
