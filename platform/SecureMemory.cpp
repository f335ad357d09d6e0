#include "platform/SecureMemory.h"

#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

namespace rivode::platform {
namespace {

// Pages were chosen over a locked (mlock) allocator: core dumps are what carries a secret out of
// the process, and excluding pages from them cannot fail for want of a quota, while locked
// memory is limited per user (often to 64 KiB or 8 MiB), and a host that holds many secrets
// would start failing allocations. Swap is left to the system (encrypted swap).

std::size_t PageSize() {
    static const std::size_t size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

std::size_t PagesFor(std::size_t size) {
    const std::size_t page = PageSize();
    return size == 0 ? 1 : (size + page - 1) / page;
}

// Released regions of a few pages are kept for the next allocation of the same size: a value is
// deciphered through several short-lived buffers, and a map, advise and unmap for each would
// cost more than the cipher. The regions are zero while kept and still left out of dumps.
// Trivially destructible, so releases from other static destructors at exit still find it.
struct ReleasedRegions {
    static constexpr std::size_t kCapacity = 16;
    static constexpr std::size_t kMaxPages = 4;

    std::mutex mutex;
    void* data[kCapacity] = {};
    std::size_t pages[kCapacity] = {};
    std::size_t count = 0;
};

constinit ReleasedRegions released;

void* TakeReleased(std::size_t pages) {
    std::lock_guard guard(released.mutex);
    for (std::size_t i = released.count; i-- > 0;) {
        if (released.pages[i] == pages) {
            void* data = released.data[i];
            --released.count;
            released.data[i] = released.data[released.count];
            released.pages[i] = released.pages[released.count];
            return data;
        }
    }
    return nullptr;
}

bool KeepReleased(void* data, std::size_t pages) {
    if (pages > ReleasedRegions::kMaxPages) {
        return false;
    }
    std::lock_guard guard(released.mutex);
    if (released.count == ReleasedRegions::kCapacity) {
        return false;
    }
    released.data[released.count] = data;
    released.pages[released.count] = pages;
    ++released.count;
    return true;
}

}  // namespace

void WipeMemory(void* data, std::size_t size) noexcept {
    if (data != nullptr && size > 0) {
        ::explicit_bzero(data, size);
    }
}

void* AllocateSecureMemory(std::size_t size) {
    const std::size_t pages = PagesFor(size);
    if (pages > static_cast<std::size_t>(-1) / PageSize()) {
        throw std::bad_alloc();
    }
    if (void* data = TakeReleased(pages); data != nullptr) {
        return data;
    }
    const std::size_t length = pages * PageSize();
    void* data =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED) {
        throw std::bad_alloc();
    }
    // Kernels without the advice (before 3.4) still give working memory; nothing better exists
    // there.
    (void)ExcludeFromCoreDumps(data, length);
    return data;
}

void FreeSecureMemory(void* data, std::size_t size) noexcept {
    if (data == nullptr) {
        return;
    }
    const std::size_t pages = PagesFor(size);
    // The whole pages, not only size bytes: kept pages must be zero for their next user.
    WipeMemory(data, pages * PageSize());
    if (!KeepReleased(data, pages)) {
        ::munmap(data, pages * PageSize());
    }
}

int ExcludeFromCoreDumps(void* data, std::size_t size) {
    const auto start = reinterpret_cast<std::uintptr_t>(data) & ~(PageSize() - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(data) + size;
    if (::madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTDUMP) != 0) {
        return errno != 0 ? errno : EINVAL;
    }
    return 0;
}

int DisableCoreDumps() {
    if (::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) != 0) {
        return errno != 0 ? errno : EINVAL;
    }
    return 0;
}

}  // namespace rivode::platform
