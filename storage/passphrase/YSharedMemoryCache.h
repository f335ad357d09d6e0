// YSharedMemoryCache: the 4104 bytes through which the host processes of one user share the
// configuration passphrase, with the lock that guards them.
//
// A shared cache lives in named memory guarded by a named lock, so every process of the user
// that opens the same names sees and guards the same bytes. A private cache is zero-filled
// memory of this process guarded against its other threads only; its content is the same.
//
// The named memory lasts as long as some process keeps a cache of that name open: the last one
// to close it removes the name, and bytes left by processes that all died are cleared by the
// next one to open it. The content is therefore never older than the processes sharing it.
#pragma once

#include "platform/SecureMemory.h"
#include "storage/passphrase/YIpcLock.h"
#include "storage/passphrase/YMemoryMappedBuffer.h"

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <memory>

class YSharedMemoryCache {
public:
    static constexpr std::size_t kSize = 4104;

    // A private cache, zero-filled.
    YSharedMemoryCache();
    // A shared cache of those names, or null with an operating-system report when the memory or
    // the lock cannot be set up.
    static std::unique_ptr<YSharedMemoryCache> OpenShared(const YUnicodeString& mapName,
                                                          const YUnicodeString& lockName,
                                                          YReportMessageParams& report);
    ~YSharedMemoryCache();
    YSharedMemoryCache(const YSharedMemoryCache&) = delete;
    YSharedMemoryCache& operator=(const YSharedMemoryCache&) = delete;

    bool IsShared() const { return lock_.IsNamed(); }
    YIpcLock& GetLock() { return lock_; }
    // The kSize bytes, suitably aligned for any scalar. Read and write them only while holding
    // GetLock(): other processes change them under the same lock.
    void* GetData() { return data_; }

private:
    void Leave();

    YIpcLock lock_;
    YMemoryMappedBuffer buffer_;
    YUnicodeString mapName_;
    bool attached_ = false;
    // A private cache holds the passphrase as a shared one does: in memory no dump carries.
    rivode::platform::SecureBytes privateBytes_ = rivode::platform::SecureBytes(kSize);
    void* data_ = privateBytes_.data();
};
