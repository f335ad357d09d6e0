// Where the library keeps secrets: keys, deciphered values, cipher schedules and the private
// passphrase block all lie in memory that core dumps leave out.
#include "storage/ciphers/Cipher.h"
#include "storage/ciphers/YBasicBuffer.h"
#include "storage/passphrase/YSharedMemoryCache.h"
#include "tests/support/DumpedMemory.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

TEST(SecretMemory, KeysValuesCipherStateAndThePrivatePassphraseBlockAreNeverDumped) {
    const auto buffer = MakeYRef<YBasicBuffer>(32, true);
    const std::unique_ptr<CryptUtils::Cipher> cipher = CryptUtils::CreateCipher("aes256-cbc");
    ASSERT_NE(cipher, nullptr);
    YSharedMemoryCache privateBlock;
    const struct {
        const char* what;
        const void* address;
    } secrets[] = {
        {"buffer", buffer->GetBytes()},
        {"cipher", cipher.get()},
        {"private passphrase block", privateBlock.GetData()},
    };
    for (const auto& secret : secrets) {
        EXPECT_TRUE(IsLeftOutOfCoreDumps(secret.address)) << secret.what;
    }
}

}  // namespace
}  // namespace rivode::test
