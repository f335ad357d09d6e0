#include "platform/InterProcessLock.h"

#include "platform/Environment.h"
#include "platform/PrivateFile.h"
#include "platform/SharedMemory.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace rivode::platform {
namespace {

constexpr long kLockByte = 0;
constexpr long kUsersByte = 1;

int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

}  // namespace

std::string GetInterProcessLockPath(const std::string& name) {
    return GetUserRuntimeFolder() + "/" + GetUserObjectName(name) + ".lock";
}

int InterProcessLock::Open(const std::string& name, std::unique_ptr<InterProcessLock>& lock) {
    // The runtime folder may be the shared /tmp fallback, where another user may have made the
    // name first: never follow a planted link, never wait on a planted pipe, and use only a file
    // of our own that nobody else may open, or others could hold our lock or count as users.
    const int fd = ::open(GetInterProcessLockPath(name).c_str(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        return ErrnoOr(EIO);
    }
    if (const int error = CheckPrivateToUser(fd); error != 0) {
        ::close(fd);
        return error;
    }
    lock.reset(new InterProcessLock(fd));
    return 0;
}

InterProcessLock::~InterProcessLock() {
    ::close(fd_);
}

int InterProcessLock::Lock() {
    return SetLock(F_WRLCK, kLockByte, true);
}

int InterProcessLock::Unlock() {
    return SetLock(F_UNLCK, kLockByte, false);
}

int InterProcessLock::Attach(bool& sole) {
    if (const int error = IsSoleUser(sole); error != 0) {
        return error;
    }
    return SetLock(F_RDLCK, kUsersByte, true);
}

int InterProcessLock::Detach(bool& sole) {
    if (const int error = IsSoleUser(sole); error != 0) {
        return error;
    }
    return SetLock(F_UNLCK, kUsersByte, false);
}

int InterProcessLock::IsSoleUser(bool& sole) {
    // Our own shared lock does not stand in the way: a lock of the same open file is converted.
    const int error = SetLock(F_WRLCK, kUsersByte, false);
    sole = error == 0;
    return error == EAGAIN || error == EACCES ? 0 : error;
}

// Open-file-description locks: they belong to this open file, so they are not dropped when
// another descriptor of the same file is closed elsewhere in the process (classic fcntl locks
// are), and two objects of one process exclude each other as two processes do.
int InterProcessLock::SetLock(short type, long offset, bool wait) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = 1;
    while (::fcntl(fd_, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) != 0) {
        if (errno != EINTR) {
            return ErrnoOr(EIO);
        }
    }
    return 0;
}

int RemoveInterProcessLock(const std::string& name) {
    if (::unlink(GetInterProcessLockPath(name).c_str()) == 0 || errno == ENOENT) {
        return 0;
    }
    return ErrnoOr(EIO);
}

}  // namespace rivode::platform
