#include "storage/passphrase/ConfigPassphraseBlock.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/YEncryptedString.h>

#include <algorithm>
#include <utility>

namespace {

std::mutex currentMutex;
std::shared_ptr<YSharedMemoryCache> current;

ConfigPassphraseBlock& BlockOf(YSharedMemoryCache& cache) {
    return *static_cast<ConfigPassphraseBlock*>(cache.GetData());
}

// A block is set up before this process uses it; one that another process set up keeps its
// marker and content.
std::shared_ptr<YSharedMemoryCache> SetUp(std::shared_ptr<YSharedMemoryCache> cache) {
    std::lock_guard guard(cache->GetLock());
    ConfigPassphraseBlock& block = BlockOf(*cache);
    if (block.formatMarker == 0) {
        block.formatMarker = 1;
    }
    return cache;
}

void Install(std::shared_ptr<YSharedMemoryCache> cache) {
    // The previous block is closed once our mutex is released: closing a shared block takes its
    // inter-process lock, which must never be waited for under our mutex.
    std::unique_lock guard(currentMutex);
    std::shared_ptr<YSharedMemoryCache> previous = std::exchange(current, std::move(cache));
    guard.unlock();
}

// An enciphered passphrase text that is not terminated within the block (a damaged block) is
// read up to the block's end, never beyond.
YUnicodeString ReadText(const ConfigPassphraseBlock& block) {
    const char16_t* text = block.passphraseText;
    const char16_t* end = std::find(text, text + ConfigPassphraseBlock::kTextCapacity - 1, u'\0');
    return YUnicodeString(text, end);
}

}  // namespace

LockedPassphraseBlock::LockedPassphraseBlock()
    : cache_(GetPassphraseBlock()), guard_(cache_->GetLock()), block_(&BlockOf(*cache_)) {}

bool OpenSharedPassphraseBlock(const YUnicodeString& mapName, const YUnicodeString& lockName,
                               YReportMessageParams& report) {
    std::shared_ptr<YSharedMemoryCache> cache =
        YSharedMemoryCache::OpenShared(mapName, lockName, report);
    if (!cache) {
        return false;
    }
    Install(SetUp(std::move(cache)));
    return true;
}

void UsePrivatePassphraseBlock() {
    Install(SetUp(std::make_shared<YSharedMemoryCache>()));
}

void ReleasePassphraseBlock() {
    Install(nullptr);
}

std::shared_ptr<YSharedMemoryCache> GetPassphraseBlock() {
    std::lock_guard guard(currentMutex);
    if (!current) {
        // A host that never initialised the library still gets a working, unshared passphrase.
        current = SetUp(std::make_shared<YSharedMemoryCache>());
    }
    return current;
}

bool ClaimPassphraseEntry() {
    LockedPassphraseBlock block;
    if (block->entryInProgress != 0) {
        return false;
    }
    block->entryInProgress = 1;
    return true;
}

void ReleasePassphraseEntry() {
    LockedPassphraseBlock()->entryInProgress = 0;
}

bool IsPassphraseKnown() {
    LockedPassphraseBlock block;
    return block->disabled != 0 || block->passphraseText[0] != u'\0';
}

YUnicodeString GetConfigPassphrase() {
    YEncryptedString published;
    published.SetEncryptedText(ReadText(*LockedPassphraseBlock()));
    YUnicodeString passphrase;
    if (!published.GetPlaintext(passphrase, YUnicodeString())) {
        return {};
    }
    return passphrase;
}

void SetConfigPassphrase(const char16_t* passphrase) {
    YEncryptedString published;
    if (!published.SetPlaintext(passphrase != nullptr ? passphrase : u"", YUnicodeString())) {
        return;
    }
    const YUnicodeString& text = published.GetEncryptedText();
    if (text.size() >= ConfigPassphraseBlock::kTextCapacity) {
        return;
    }
    LockedPassphraseBlock block;
    // Zero the rest too: a longer passphrase published before leaves nothing behind.
    std::fill(std::copy(text.begin(), text.end(), block->passphraseText),
              std::end(block->passphraseText), u'\0');
}

bool IsConfigPassphraseDisabled() {
    return LockedPassphraseBlock()->disabled != 0;
}

void SetConfigPassphraseDisabled(bool disabled) {
    LockedPassphraseBlock()->disabled = disabled ? 1 : 0;
}
