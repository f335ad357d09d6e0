#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace rivode::platform {
namespace {

int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

class PosixFile final : public File {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }

    int ReadAt(std::uint64_t offset, void* buffer, std::size_t length,
               std::size_t& transferred) override {
        for (;;) {
            const ssize_t n = ::pread(fd_, buffer, length, static_cast<off_t>(offset));
            if (n >= 0) {
                transferred = static_cast<std::size_t>(n);
                return 0;
            }
            if (errno != EINTR) {
                transferred = 0;
                return ErrnoOr(EIO);
            }
        }
    }

    int WriteAt(std::uint64_t offset, const void* bytes, std::size_t length) override {
        const char* next = static_cast<const char*>(bytes);
        while (length > 0) {
            const ssize_t n = ::pwrite(fd_, next, length, static_cast<off_t>(offset));
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return ErrnoOr(EIO);
            }
            next += n;
            offset += static_cast<std::uint64_t>(n);
            length -= static_cast<std::size_t>(n);
        }
        return 0;
    }

    int Truncate(std::uint64_t length) override {
        return ::ftruncate(fd_, static_cast<off_t>(length)) == 0 ? 0 : ErrnoOr(EIO);
    }

    int GetSize(std::uint64_t& size) override {
        struct stat st;
        if (::fstat(fd_, &st) != 0) {
            return ErrnoOr(EIO);
        }
        size = static_cast<std::uint64_t>(st.st_size);
        return 0;
    }

    int GetLinkCount(std::uint64_t& links) override {
        struct stat st;
        if (::fstat(fd_, &st) != 0) {
            return ErrnoOr(EIO);
        }
        links = static_cast<std::uint64_t>(st.st_nlink);
        return 0;
    }

    int Reserve(std::uint64_t length) override {
        const int error = ::posix_fallocate(fd_, 0, static_cast<off_t>(length));
        // Some file systems cannot reserve space ahead; writing will tell then.
        return error == EOPNOTSUPP || error == EINVAL ? 0 : error;
    }

    // Open-file-description locks: they belong to this open file, so two files of one process
    // exclude each other as two processes do, and closing another descriptor of the same file
    // does not drop them (classic fcntl locks have both faults).
    int Lock(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
        return SetLock(exclusive ? F_WRLCK : F_RDLCK, offset, length);
    }
    int Unlock(std::uint64_t offset, std::uint64_t length) override {
        return SetLock(F_UNLCK, offset, length);
    }

    int SyncData() override {
        while (::fdatasync(fd_) != 0) {
            if (errno != EINTR) {
                return ErrnoOr(EIO);
            }
        }
        return 0;
    }

    int SyncFileSystem() override { return ::syncfs(fd_) == 0 ? 0 : ErrnoOr(EIO); }

private:
    int SetLock(short type, std::uint64_t offset, std::uint64_t length) {
        struct flock lock = {};
        lock.l_type = type;
        lock.l_whence = SEEK_SET;
        lock.l_start = static_cast<off_t>(offset);
        lock.l_len = static_cast<off_t>(length);
        while (::fcntl(fd_, F_OFD_SETLKW, &lock) != 0) {
            if (errno != EINTR) {
                return ErrnoOr(EIO);
            }
        }
        return 0;
    }

    int fd_;
};

class PosixFileSystem final : public FileSystem {
public:
    int OpenFile(const std::string& path, unsigned access, OpenDisposition disposition,
                 unsigned mode, std::unique_ptr<File>& file, bool* created) override {
        int flags = O_CLOEXEC;
        const bool regularOnly = (access & FileAccessRegularOnly) != 0;
        if (regularOnly) {
            flags |= O_NOFOLLOW | O_NONBLOCK;
        }
        if ((access & FileAccessWrite) != 0) {
            flags |= (access & FileAccessRead) != 0 ? O_RDWR : O_WRONLY;
        } else {
            flags |= O_RDONLY;
        }
        switch (disposition) {
            case OpenDisposition::CreateNew:
                flags |= O_CREAT | O_EXCL;
                break;
            case OpenDisposition::CreateAlways:
                flags |= O_CREAT | O_TRUNC;
                break;
            case OpenDisposition::OpenExisting:
                break;
            case OpenDisposition::OpenAlways:
                flags |= O_CREAT;
                break;
            case OpenDisposition::TruncateExisting:
                flags |= O_TRUNC;
                break;
        }
        bool madeNew = false;
        int fd = -1;
        if (disposition == OpenDisposition::OpenAlways ||
            disposition == OpenDisposition::CreateAlways) {
            // Tell a new file from an existing one, as callers probe existing files for their
            // byte-order mark: try the existing file first, then create exclusively.
            fd = ::open(path.c_str(), flags & ~(O_CREAT | O_TRUNC));
            if (fd < 0 && errno == ENOENT) {
                fd = ::open(path.c_str(), flags | O_EXCL, mode);
                madeNew = fd >= 0;
                if (fd < 0 && errno == EEXIST) {
                    fd = ::open(path.c_str(), flags & ~O_CREAT);
                }
            } else if (fd >= 0 && disposition == OpenDisposition::CreateAlways) {
                if (::ftruncate(fd, 0) != 0) {
                    const int error = ErrnoOr(EIO);
                    ::close(fd);
                    return error;
                }
            }
        } else {
            fd = ::open(path.c_str(), flags, mode);
            madeNew = fd >= 0 && disposition == OpenDisposition::CreateNew;
        }
        if (fd < 0) {
            // A pipe without a reader answers a non-blocking open for writing with ENXIO, a
            // link in the last component O_NOFOLLOW with ELOOP.
            return regularOnly && (errno == ENXIO || errno == ELOOP) ? kErrorNotRegularFile
                                                                     : ErrnoOr(EIO);
        }
        struct stat st;
        if (::fstat(fd, &st) == 0 &&
            (S_ISDIR(st.st_mode) || (regularOnly && !S_ISREG(st.st_mode)))) {
            ::close(fd);
            return S_ISDIR(st.st_mode) ? EISDIR : kErrorNotRegularFile;
        }
        if (regularOnly && (access & FileAccessWrite) != 0) {
            // Only opening had to be non-blocking. Reads of a regular file never wait and
            // ignore the flag, so a descriptor opened for reading keeps it (loading thousands
            // of keys spares two calls each); one that writes is left as every other opener
            // gets it.
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        }
        if (created != nullptr) {
            *created = madeNew;
        }
        file = std::make_unique<PosixFile>(fd);
        return 0;
    }

    int GetFileInfo(const std::string& path, FileInfo& info) override {
        info = FileInfo{};
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) {
            return errno == ENOENT || errno == ENOTDIR ? 0 : ErrnoOr(EIO);
        }
        info.exists = true;
        info.isFolder = S_ISDIR(st.st_mode);
        // The owner's write permission plays the part of a read-only attribute: it marks a file
        // the user protected on purpose, whoever runs the program.
        info.readOnly = (st.st_mode & S_IWUSR) == 0;
        info.size = static_cast<std::uint64_t>(st.st_size);
        info.device = static_cast<std::uint64_t>(st.st_dev);
        return 0;
    }

    int ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override {
        DIR* folder = ::opendir(path.c_str());
        if (folder == nullptr) {
            return ErrnoOr(EIO);
        }
        const int folderFd = ::dirfd(folder);
        errno = 0;
        while (const dirent* entry = ::readdir(folder)) {
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                continue;
            }
            bool isFolder = entry->d_type == DT_DIR;
            if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
                struct stat st;
                isFolder = ::fstatat(folderFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode);
            }
            entries.push_back(FolderEntry{name, isFolder});
        }
        const int error = errno;
        ::closedir(folder);
        return error;
    }

    int CreateFolder(const std::string& path, unsigned mode) override {
        return ::mkdir(path.c_str(), mode) == 0 ? 0 : ErrnoOr(EIO);
    }

    int RemoveFolder(const std::string& path) override {
        return ::rmdir(path.c_str()) == 0 ? 0 : ErrnoOr(EIO);
    }

    int DeleteFile(const std::string& path) override {
        return ::unlink(path.c_str()) == 0 ? 0 : ErrnoOr(EIO);
    }

    int GetMaxNameLength(const std::string& path, std::size_t& length) override {
        // The deepest existing folder of path decides: the name being checked may not exist.
        std::string probe = path.empty() ? std::string(".") : path;
        for (;;) {
            errno = 0;
            const long limit = ::pathconf(probe.c_str(), _PC_NAME_MAX);
            if (limit > 0) {
                length = static_cast<std::size_t>(limit);
                return 0;
            }
            if (errno != ENOENT && errno != ENOTDIR) {
                length = 0;
                return errno;
            }
            const std::size_t slash = probe.find_last_of('/');
            if (slash == std::string::npos) {
                probe = ".";
            } else if (slash == 0) {
                probe = "/";
            } else {
                probe.resize(slash);
            }
        }
    }

    int Rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : ErrnoOr(EIO);
    }
};

PosixFileSystem& Posix() {
    static PosixFileSystem instance;
    return instance;
}

std::atomic<FileSystem*> installed{nullptr};

}  // namespace

FileSystem& FileSystem::Current() {
    FileSystem* fileSystem = installed.load(std::memory_order_acquire);
    return fileSystem != nullptr ? *fileSystem : Posix();
}

FileSystem* FileSystem::Install(FileSystem* fileSystem) {
    return installed.exchange(fileSystem, std::memory_order_acq_rel);
}

}  // namespace rivode::platform
