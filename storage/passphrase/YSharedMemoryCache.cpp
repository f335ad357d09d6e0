#include "storage/passphrase/YSharedMemoryCache.h"

#include <cstring>
#include <mutex>
#include <system_error>

YSharedMemoryCache::YSharedMemoryCache() = default;

std::unique_ptr<YSharedMemoryCache> YSharedMemoryCache::OpenShared(const YUnicodeString& mapName,
                                                                   const YUnicodeString& lockName,
                                                                   YReportMessageParams& report) {
    auto cache = std::make_unique<YSharedMemoryCache>();
    if (!cache->lock_.Open(lockName, report)) {
        return nullptr;
    }
    try {
        // Under the lock, so that no process removes the memory's name between our opening it
        // and our counting as its user.
        std::lock_guard guard(cache->lock_);
        bool sole = false;
        if (!cache->lock_.Attach(sole, report)) {
            return nullptr;
        }
        cache->attached_ = true;
        cache->mapName_ = mapName;
        if (!cache->buffer_.Open(mapName, kSize, report)) {
            return nullptr;
        }
        cache->data_ = cache->buffer_.GetData();
        if (sole && !cache->buffer_.WasCreated()) {
            // Left by processes that died without closing it: their passphrase and their claim
            // of the passphrase entry are void.
            std::memset(cache->data_, 0, kSize);
        }
    } catch (const std::system_error& error) {
        SetSystemErrorReport(report, error.code().value());
        return nullptr;
    }
    return cache;
}

YSharedMemoryCache::~YSharedMemoryCache() {
    try {
        Leave();
    } catch (const std::system_error&) {
        // Without the lock we cannot tell whether we are the last user: leave the name. Closing
        // the lock file still ends our part in it.
    }
}

void YSharedMemoryCache::Leave() {
    if (!attached_) {
        return;
    }
    std::lock_guard guard(lock_);
    YReportMessageParams report;
    bool sole = false;
    if (lock_.Detach(sole, report) && sole) {
        (void)YMemoryMappedBuffer::Remove(mapName_, report);
    }
}
