// Files that only the current user's processes may use: the lock file and the shared memory of
// the passphrase block. Both may live in a folder every user can write (/tmp, /dev/shm), where
// another user could make the name first and so read or disturb what the user's processes share.
#pragma once

#pragma GCC visibility push(default)

namespace rivode::platform {

// Checks the open file fd: a regular file of the effective user that neither group nor others
// may open. Returns 0, kErrorNotRegularFile (see FileSystem.h) for anything but a regular file,
// EACCES for a file of another user or one open to others, or the errno value of fstat.
int CheckPrivateToUser(int fd);

}  // namespace rivode::platform

#pragma GCC visibility pop
