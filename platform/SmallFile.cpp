#include "platform/SmallFile.h"

#include "platform/FileSystem.h"

#include <memory>

namespace rivode::platform {

std::string ReadSmallFile(const std::string& path, std::size_t limit) {
    std::unique_ptr<File> file;
    if (FileSystem::Current().OpenFile(path, FileAccessRead, OpenDisposition::OpenExisting, 0, file,
                                       nullptr) != 0) {
        return {};
    }
    std::string text(limit, '\0');
    std::size_t read = 0;
    while (read < limit) {
        std::size_t transferred = 0;
        if (file->ReadAt(read, text.data() + read, limit - read, transferred) != 0) {
            return {};
        }
        if (transferred == 0) {
            break;
        }
        read += transferred;
    }
    text.resize(read);
    return text;
}

}  // namespace rivode::platform
