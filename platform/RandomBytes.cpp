#include "platform/RandomBytes.h"

#include <sys/random.h>

#include <cerrno>

namespace rivode::platform {

int GetRandomBytes(void* buffer, std::size_t count) {
    auto* next = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        // A request may be cut short by a signal or, above 256 bytes, by the kernel itself.
        const ssize_t got = ::getrandom(next, count, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno != 0 ? errno : EIO;
        }
        next += got;
        count -= static_cast<std::size_t>(got);
    }
    return 0;
}

}  // namespace rivode::platform
