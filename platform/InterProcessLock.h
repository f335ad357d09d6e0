// A named lock shared by the processes of the current user, and a count of the processes that
// use what it guards.
//
// The lock is an exclusive byte-range lock on byte 0 of a lock file in the user's runtime
// folder. The kernel drops it when its holder closes the file or dies, so a crashed process
// never leaves the lock taken. Byte-range locks belong to the open lock file: two objects of one
// name exclude each other, but two threads using one object do not; callers add a mutex of
// their own for that.
//
// Users: every object that Attach()es holds a shared lock on byte 1 for as long as it stays
// attached. An exclusive lock on that byte is granted only when no other object holds it, which
// tells a process whether it is the only user left, even after others died without detaching.
#pragma once

#include <memory>
#include <string>

#pragma GCC visibility push(default)

namespace rivode::platform {

class InterProcessLock {
public:
    // Opens the lock file of name (see GetInterProcessLockPath), creating it with mode 0600. The
    // file must be the user's own regular file, not open to group or others, and no symbolic
    // link: ELOOP for a link, EISDIR for a folder, kErrorNotRegularFile (FileSystem.h) for a pipe
    // or device, EACCES for a file of another user or one others may open. Returns 0 or the
    // errno value.
    static int Open(const std::string& name, std::unique_ptr<InterProcessLock>& lock);

    // Closes the lock file: the lock and the attachment end with it.
    ~InterProcessLock();
    InterProcessLock(const InterProcessLock&) = delete;
    InterProcessLock& operator=(const InterProcessLock&) = delete;

    // Waits for the lock. Returns 0 or the errno value.
    int Lock();
    int Unlock();

    // Call these while holding the lock, so that no other object attaches or detaches between
    // the count and the caller's use of it. Attach: sole is true when no other object is
    // attached (whatever the lock guards was left by processes that are gone, or is new).
    // Detach: sole is true when no other object remains attached.
    int Attach(bool& sole);
    int Detach(bool& sole);

private:
    explicit InterProcessLock(int fd) : fd_(fd) {}
    int SetLock(short type, long offset, bool wait);
    // Whether no other object holds any lock on the users' byte.
    int IsSoleUser(bool& sole);

    int fd_;
};

// The lock file of name (see GetUserObjectName) in the user's runtime folder.
std::string GetInterProcessLockPath(const std::string& name);

// Deletes the lock file of name: only when no process of the user may still use it. 0 also
// when there is no such file, else the errno value.
int RemoveInterProcessLock(const std::string& name);

}  // namespace rivode::platform

#pragma GCC visibility pop
