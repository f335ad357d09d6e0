#include "platform/FipsState.h"

#include "platform/FileSystem.h"

namespace rivode::platform {

bool IsSystemFipsModeEnabled() {
    std::unique_ptr<File> file;
    if (FileSystem::Current().OpenFile("/proc/sys/crypto/fips_enabled", FileAccessRead,
                                       OpenDisposition::OpenExisting, 0, file, nullptr) != 0) {
        return false;
    }
    char state = '0';
    std::size_t transferred = 0;
    return file->ReadAt(0, &state, 1, transferred) == 0 && transferred == 1 && state == '1';
}

}  // namespace rivode::platform
