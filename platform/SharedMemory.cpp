#include "platform/SharedMemory.h"

#include <RivodeRavudaVU/HexDigits.h>

#include "platform/Environment.h"
#include "platform/PrivateFile.h"
#include "platform/SecureMemory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace rivode::platform {
namespace {

int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

int OpenObject(const std::string& path, bool& created) {
    int fd = ::shm_open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    created = fd >= 0;
    if (fd < 0 && errno == EEXIST) {
        fd = ::shm_open(path.c_str(), O_RDWR, 0);
    }
    return fd;
}

int GrowTo(int fd, std::size_t size) {
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        return ErrnoOr(EIO);
    }
    // A creator that died before sizing its object leaves it short; growing zero-fills.
    if (static_cast<std::size_t>(st.st_size) < size &&
        ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        return ErrnoOr(EIO);
    }
    return 0;
}

}  // namespace

std::string GetUserObjectName(const std::string& name) {
    std::string result;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '%' || byte <= 0x20 || byte == 0x7F) {
            result += '%';
            result += HexDigit(byte >> 4, true);
            result += HexDigit(byte, true);
        } else {
            result += c;
        }
    }
    return result + "-" + std::to_string(GetUserId());
}

// The memory's users are counted in a lock file of the user's runtime folder: two processes
// that disagree on that folder cannot count each other, so they must not share the memory
// either. Its name carries the folder, hashed (FNV-1a, the same in every build) to stay short.
std::string GetSharedMemoryObjectName(const std::string& name) {
    std::uint64_t folder = 0xcbf29ce484222325;
    for (const char c : GetUserRuntimeFolder()) {
        folder = (folder ^ static_cast<unsigned char>(c)) * 0x100000001b3;
    }
    char suffix[18];
    std::snprintf(suffix, sizeof suffix, "-%016llx", static_cast<unsigned long long>(folder));
    return "/" + GetUserObjectName(name) + suffix;
}

int SharedMemory::Open(const std::string& name, std::size_t size,
                       std::unique_ptr<SharedMemory>& memory, bool& created) {
    const std::string path = GetSharedMemoryObjectName(name);
    const int fd = OpenObject(path, created);
    if (fd < 0) {
        return ErrnoOr(EIO);
    }
    int error = 0;
    if (created && ::fchmod(fd, 0600) != 0) {  // the umask may have taken the owner's rights
        error = ErrnoOr(EIO);
    } else {
        error = CheckPrivateToUser(fd);
    }
    if (error == 0) {
        error = GrowTo(fd, size);
    }
    void* data = MAP_FAILED;
    if (error == 0) {
        data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        error = data == MAP_FAILED ? ErrnoOr(ENOMEM) : 0;
    }
    if (error == 0) {
        // What the user's processes share is their passphrase: no dump of ours may carry it.
        error = ExcludeFromCoreDumps(data, size);
        if (error != 0) {
            ::munmap(data, size);
        }
    }
    ::close(fd);  // the mapping keeps the object open
    if (error != 0) {
        if (created) {
            ::shm_unlink(path.c_str());
        }
        return error;
    }
    memory.reset(new SharedMemory(data, size));
    return 0;
}

SharedMemory::~SharedMemory() {
    ::munmap(data_, size_);
}

int RemoveSharedMemory(const std::string& name) {
    if (::shm_unlink(GetSharedMemoryObjectName(name).c_str()) == 0 || errno == ENOENT) {
        return 0;
    }
    return ErrnoOr(EIO);
}

}  // namespace rivode::platform
