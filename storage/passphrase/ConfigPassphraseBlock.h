// The configuration passphrase block of this process: its layout, the process's current block,
// and the operations of the passphrase start-up on it. The exported accessors are declared in
// <RivodeRavudaVU/ConfigPassphrase.h>.
//
// The process has one current block at a time. The environment installs it at initialisation
// (shared with the user's other host processes, or private); when nothing did, the first access
// makes a private one. Every operation here takes the block's lock for its own duration only.
#pragma once

#include "storage/passphrase/YSharedMemoryCache.h"

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

// The layout every process of every product relies on; it never changes.
struct ConfigPassphraseBlock {
    static constexpr std::size_t kTextCapacity = 2048;  // code units, the terminating zero included

    std::uint32_t formatMarker;  // 0 in a new block, 1 once set up
    // The published passphrase in "02:" form under the empty passphrase, zero-terminated; empty
    // while no process has published one.
    char16_t passphraseText[kTextCapacity];
    std::uint8_t disabled;         // 1: the user goes on with sensitive data switched off
    std::uint8_t entryInProgress;  // 1: some process is entering or changing the passphrase
    std::uint8_t reserved[2];
};
static_assert(sizeof(ConfigPassphraseBlock) == YSharedMemoryCache::kSize);
static_assert(offsetof(ConfigPassphraseBlock, passphraseText) == 4);
static_assert(offsetof(ConfigPassphraseBlock, disabled) == 4100);
static_assert(offsetof(ConfigPassphraseBlock, entryInProgress) == 4101);

// The current block with its lock held for the lifetime of this object; the block stays alive
// even if another thread installs a new one meanwhile. Throws std::system_error when the lock
// cannot be taken.
class LockedPassphraseBlock {
public:
    LockedPassphraseBlock();
    ConfigPassphraseBlock* operator->() const { return block_; }
    ConfigPassphraseBlock& operator*() const { return *block_; }

private:
    std::shared_ptr<YSharedMemoryCache> cache_;
    std::lock_guard<YIpcLock> guard_;
    ConfigPassphraseBlock* block_;
};

// Each of these installs a block as the process's current one, replacing (and closing) the
// previous one. A block's format marker is set from 0 to 1 before the block is installed; a
// marker some other process already set is left as it is, and so is the rest of its content.

// The shared block of those names. false with an operating-system report when it cannot be set
// up; the current block is then unchanged.
[[nodiscard]] bool OpenSharedPassphraseBlock(const YUnicodeString& mapName,
                                             const YUnicodeString& lockName,
                                             YReportMessageParams& report);
// A new private, zero-filled block.
void UsePrivatePassphraseBlock();
// Drops the current block; the next access makes a private one. A second call does nothing.
void ReleasePassphraseBlock();
// The current block, made private on first use; never null.
std::shared_ptr<YSharedMemoryCache> GetPassphraseBlock();

// Takes the right to enter or change the passphrase: true when no process (this one included)
// holds it, false otherwise.
bool ClaimPassphraseEntry();
void ReleasePassphraseEntry();
// Whether some process has established the passphrase: published one (the empty passphrase
// counts once published) or switched sensitive data off.
bool IsPassphraseKnown();
