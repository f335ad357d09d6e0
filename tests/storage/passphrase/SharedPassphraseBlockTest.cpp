#include "platform/SharedMemory.h"
#include "tests/storage/passphrase/PassphraseBlockSupport.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/YEncryptedString.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using rivode::test::ReadBlockBytes;
using rivode::test::RunPeer;

class SharedPassphraseBlockTest : public ::testing::Test {
protected:
    void Open() {
        YReportMessageParams report;
        ASSERT_TRUE(OpenSharedPassphraseBlock(names_.mapName, names_.lockName, report))
            << rivode::ToUtf8(report.GetText());
        ASSERT_TRUE(GetPassphraseBlock()->IsShared());
    }

    rivode::test::ScopedBlockNames names_;
};

TEST_F(SharedPassphraseBlockTest, OtherProcessesFindEachFieldAtItsOffset) {
    Open();
    SetConfigPassphrase(u"pass");
    SetConfigPassphraseDisabled(true);
    ASSERT_TRUE(ClaimPassphraseEntry());

    const std::string bytes = ReadBlockBytes(names_.mapName);
    ASSERT_EQ(bytes.size(), 4104u);
    std::uint32_t marker = 0;
    std::memcpy(&marker, bytes.data(), 4);
    EXPECT_EQ(marker, 1u);
    YUnicodeString text(2048, u'\0');
    std::memcpy(text.data(), bytes.data() + 4, 4096);
    text.resize(text.find(u'\0'));
    EXPECT_EQ(text.substr(0, 3), u"02:");
    YEncryptedString published;
    published.SetEncryptedText(text);
    YUnicodeString plaintext;
    EXPECT_TRUE(published.GetPlaintext(plaintext, u""));
    EXPECT_EQ(plaintext, u"pass");
    EXPECT_EQ(bytes.substr(4100), std::string("\1\1\0\0", 4));
}

TEST_F(SharedPassphraseBlockTest, TwoProcessesSeeEachOthersPassphraseAndEntryClaim) {
    Open();
    EXPECT_EQ(RunPeer(names_, {"publish", "from peer ☃"}).exitCode, 0);
    EXPECT_EQ(GetConfigPassphrase(), u"from peer ☃");

    SetConfigPassphrase(u"from test");
    EXPECT_EQ(RunPeer(names_, {"read"}).output, "from test");

    ASSERT_TRUE(ClaimPassphraseEntry());
    EXPECT_EQ(RunPeer(names_, {"claim"}).output, "refused");
    ReleasePassphraseEntry();
    EXPECT_EQ(RunPeer(names_, {"claim"}).output, "claimed");
    EXPECT_FALSE(ClaimPassphraseEntry()) << "the claim stays after the claimer exits";
}

TEST_F(SharedPassphraseBlockTest, ProcessDyingWithTheLockDoesNotBlockOthers) {
    Open();
    const auto peer = RunPeer(names_, {"hold"});
    ASSERT_EQ(peer.output, "held");
    ASSERT_TRUE(peer.killed);
    ::alarm(60);  // a lock left behind would hang here: end the test instead
    SetConfigPassphrase(u"after");
    EXPECT_EQ(GetConfigPassphrase(), u"after");
    ::alarm(0);
}

TEST_F(SharedPassphraseBlockTest, BlockLastsOnlyWhileSomeProcessHasItOpen) {
    // Left by a process that died holding the entry claim: the next opener starts clean.
    ASSERT_TRUE(RunPeer(names_, {"abandon", "stale"}).killed);
    Open();
    EXPECT_FALSE(IsPassphraseKnown());
    EXPECT_TRUE(ClaimPassphraseEntry());

    // Closed by its last user: the memory is gone.
    ReleasePassphraseBlock();
    std::unique_ptr<rivode::platform::SharedMemory> memory;
    bool created = false;
    ASSERT_EQ(rivode::platform::SharedMemory::Open(rivode::ToUtf8(names_.mapName), 4104, memory,
                                                   created),
              0);
    EXPECT_TRUE(created);
}

TEST_F(SharedPassphraseBlockTest, FailureToShareKeepsTheCurrentBlock) {
    SetConfigPassphrase(u"kept");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = runtime != nullptr ? runtime : "";
    ::setenv("XDG_RUNTIME_DIR", "/nonexistent/runtime", 1);
    YReportMessageParams report;
    const bool opened = OpenSharedPassphraseBlock(names_.mapName, names_.lockName, report);
    ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    EXPECT_FALSE(opened);
    EXPECT_EQ(report.GetMessageId(), static_cast<std::uint32_t>(ENOENT));
    EXPECT_EQ(GetConfigPassphrase(), u"kept");
    EXPECT_FALSE(GetPassphraseBlock()->IsShared());
}

}  // namespace
