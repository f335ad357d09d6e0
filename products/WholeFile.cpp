#include "products/WholeFile.h"

#include "platform/FileSystem.h"

#include <cerrno>

using namespace rivode::platform;

int ReadWholeFile(const std::string& path, std::size_t maxSize, std::string& bytes) {
    std::unique_ptr<File> file;
    if (const int error = FileSystem::Current().OpenFile(
            path, FileAccessRead, OpenDisposition::OpenExisting, 0, file, nullptr)) {
        return error;
    }
    // One byte more than allowed tells a file of exactly maxSize bytes from a larger one.
    bytes.assign(maxSize + 1, '\0');
    std::size_t size = 0;
    while (size < bytes.size()) {
        std::size_t transferred = 0;
        if (const int error =
                file->ReadAt(size, bytes.data() + size, bytes.size() - size, transferred)) {
            return error;
        }
        if (transferred == 0) {
            break;
        }
        size += transferred;
    }
    if (size > maxSize) {
        return EFBIG;
    }
    bytes.resize(size);
    return 0;
}

int ReplaceWholeFile(const std::string& path, const std::string& bytes, unsigned mode) {
    FileSystem& fileSystem = FileSystem::Current();
    const std::string temporary = path + ".new";
    std::unique_ptr<File> file;
    // The temporary name is ours alone: a link or a pipe placed there is refused, not followed.
    int error = fileSystem.OpenFile(temporary, FileAccessWrite | FileAccessRegularOnly,
                                    OpenDisposition::CreateAlways, mode, file, nullptr);
    if (error == 0) {
        error = file->WriteAt(0, bytes.data(), bytes.size());
    }
    // On the disk before it takes the name, or a power cut could leave an empty file there.
    if (error == 0) {
        error = file->SyncData();
    }
    file.reset();
    if (error == 0) {
        error = fileSystem.Rename(temporary, path);
    }
    if (error != 0) {
        (void)fileSystem.DeleteFile(temporary);
    }
    return error;
}
