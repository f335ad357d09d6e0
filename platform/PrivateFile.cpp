#include "platform/PrivateFile.h"

#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace rivode::platform {

int CheckPrivateToUser(int fd) {
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        return errno != 0 ? errno : EIO;
    }
    if (!S_ISREG(st.st_mode)) {
        return kErrorNotRegularFile;
    }
    return st.st_uid == ::geteuid() && (st.st_mode & 077) == 0 ? 0 : EACCES;
}

}  // namespace rivode::platform
