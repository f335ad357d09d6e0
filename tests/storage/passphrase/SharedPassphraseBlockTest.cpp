#include "platform/SharedMemory.h"
#include "tests/storage/passphrase/PassphraseBlockSupport.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/YEncryptedString.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace {

using rivode::test::RunPeer;

class SharedPassphraseBlockTest : public ::testing::Test {
protected:
    void Open() {
        YReportMessageParams report;
        ASSERT_TRUE(OpenSharedPassphraseBlock(names_.mapName, names_.lockName, report))
            << rivode::ToUtf8(report.GetText());
        ASSERT_TRUE(GetPassphraseBlock()->IsShared());
    }

    // A mapping of the named memory of its own: what another process sees. Null when this call
    // had to create the memory.
    std::unique_ptr<rivode::platform::SharedMemory> MapAgain() const {
        std::unique_ptr<rivode::platform::SharedMemory> memory;
        bool created = false;
        EXPECT_EQ(rivode::platform::SharedMemory::Open(rivode::ToUtf8(names_.mapName), 4104, memory,
                                                       created),
                  0);
        return created ? nullptr : std::move(memory);
    }

    rivode::test::ScopedBlockNames names_;
};

TEST_F(SharedPassphraseBlockTest, OtherProcessesFindEachFieldAtItsOffset) {
    Open();
    SetConfigPassphrase(u"pass");
    SetConfigPassphraseDisabled(true);
    ASSERT_TRUE(ClaimPassphraseEntry());

    const auto memory = MapAgain();
    ASSERT_NE(memory, nullptr);
    const auto* bytes = static_cast<const char*>(memory->Data());
    std::uint32_t marker = 0;
    std::memcpy(&marker, bytes, 4);
    EXPECT_EQ(marker, 1u);
    YUnicodeString text(2048, u'\0');
    std::memcpy(text.data(), bytes + 4, 4096);
    text.resize(text.find(u'\0'));
    YEncryptedString published;
    published.SetEncryptedText(text);
    YUnicodeString plaintext;
    EXPECT_EQ(text.substr(0, 3), u"02:");
    EXPECT_TRUE(published.GetPlaintext(plaintext, u""));
    EXPECT_EQ(plaintext, u"pass");
    EXPECT_EQ(std::string(bytes + 4100, 4), std::string("\1\1\0\0", 4));
}

TEST_F(SharedPassphraseBlockTest, TwoProcessesSeeEachOthersPassphraseAndEntryClaim) {
    Open();
    RunPeer(names_, "publish", "from peer ☃");
    EXPECT_EQ(GetConfigPassphrase(), u"from peer ☃");
    SetConfigPassphrase(u"from test");
    EXPECT_EQ(RunPeer(names_, "read").output, "from test");

    ASSERT_TRUE(ClaimPassphraseEntry());
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
