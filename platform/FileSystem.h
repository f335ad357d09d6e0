// The file system as the library sees it: paths are native UTF-8 paths ('/' separated), every
// operation returns 0 or the errno value of its failure.
//
// FileSystem::Current() is the POSIX implementation unless a test installs another one
// (fault-injecting, counting) with ScopedFileSystem. Objects are safe to use from one thread at
// a time; the POSIX implementation itself is thread-safe.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#pragma GCC visibility push(default)

namespace rivode::platform {

enum class OpenDisposition {
    CreateNew,         // fails with EEXIST when the file exists
    CreateAlways,      // creates or truncates
    OpenExisting,      // fails with ENOENT when missing
    OpenAlways,        // opens, creating when missing
    TruncateExisting,  // opens and truncates; fails when missing
};

enum FileAccess : unsigned {
    FileAccessRead = 1,
    FileAccessWrite = 2,
    // The path must name a regular file itself: a symbolic link in its last component, a
    // pipe, socket or device fails with kErrorNotRegularFile (a folder with EISDIR), found
    // without ever blocking on it. The configuration's own files are opened
    // so, since a link or a pipe in their place can only be a mistake or an attack.
    FileAccessRegularOnly = 4,
};

// What opening with FileAccessRegularOnly gives for anything but a regular file. The system has
// no number of its own for it; this one is otherwise never returned by file operations.
inline constexpr int kErrorNotRegularFile = EMEDIUMTYPE;

struct FileInfo {
    bool exists = false;
    bool isFolder = false;
    bool readOnly = false;  // the owner may not write it (a read-only attribute)
    std::uint64_t size = 0;
    std::uint64_t device = 0;  // the file system that holds it
};

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// An open file. Reads and writes take explicit offsets, so byte-range locks can be held around
// each transfer.
class File {
public:
    virtual ~File() = default;
    // Reads up to length bytes; transferred is 0 at the end of the file.
    virtual int ReadAt(std::uint64_t offset, void* buffer, std::size_t length,
                       std::size_t& transferred) = 0;
    // Writes all bytes or fails.
    virtual int WriteAt(std::uint64_t offset, const void* bytes, std::size_t length) = 0;
    virtual int Truncate(std::uint64_t length) = 0;
    virtual int GetSize(std::uint64_t& size) = 0;
    // How many names the file has; 0 once its last name was removed.
    virtual int GetLinkCount(std::uint64_t& links) = 0;
    // Makes sure the file can hold length bytes without running out of space, leaving its
    // content unchanged; 0 also where the file system cannot reserve space in advance.
    virtual int Reserve(std::uint64_t length) = 0;
    // Byte-range locks between processes, and between two open files of one process too.
    // Lock waits until granted.
    virtual int Lock(std::uint64_t offset, std::uint64_t length, bool exclusive) = 0;
    virtual int Unlock(std::uint64_t offset, std::uint64_t length) = 0;
    // Puts the file's content (and the size, not other metadata) on the disk before returning.
    virtual int SyncData() = 0;
    // Puts every written byte of the whole file system that holds this file on the disk: one
    // call ends a batch of writes to many files.
    virtual int SyncFileSystem() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    static FileSystem& Current();

    // mode applies to a file the call creates (umask still applies).
    virtual int OpenFile(const std::string& path, unsigned access, OpenDisposition disposition,
                         unsigned mode, std::unique_ptr<File>& file, bool* created) = 0;
    // A missing path is not an error: 0 with info.exists false.
    virtual int GetFileInfo(const std::string& path, FileInfo& info) = 0;
    // Every entry but "." and "..", in no particular order.
    virtual int ListFolder(const std::string& path, std::vector<FolderEntry>& entries) = 0;
    // One folder; EEXIST when something of that name exists (folder or not).
    virtual int CreateFolder(const std::string& path, unsigned mode) = 0;
    // An empty folder.
    virtual int RemoveFolder(const std::string& path) = 0;
    virtual int DeleteFile(const std::string& path) = 0;
    // The longest file name the volume of path allows (0 when unknown).
    virtual int GetMaxNameLength(const std::string& path, std::size_t& length) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;

protected:
    friend class ScopedFileSystem;
    static FileSystem* Install(FileSystem* fileSystem);
};

// Installs a file system for the lifetime of the object (tests).
class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& fileSystem)
        : previous_(FileSystem::Install(&fileSystem)) {}
    ~ScopedFileSystem() { FileSystem::Install(previous_); }
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};

// Forwards everything to another file system; tests derive from it to inject faults.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& target) : target_(target) {}
    int OpenFile(const std::string& path, unsigned access, OpenDisposition disposition,
                 unsigned mode, std::unique_ptr<File>& file, bool* created) override {
        return target_.OpenFile(path, access, disposition, mode, file, created);
    }
    int GetFileInfo(const std::string& path, FileInfo& info) override {
        return target_.GetFileInfo(path, info);
    }
    int ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override {
        return target_.ListFolder(path, entries);
    }
    int CreateFolder(const std::string& path, unsigned mode) override {
        return target_.CreateFolder(path, mode);
    }
    int RemoveFolder(const std::string& path) override { return target_.RemoveFolder(path); }
    int DeleteFile(const std::string& path) override { return target_.DeleteFile(path); }
    int GetMaxNameLength(const std::string& path, std::size_t& length) override {
        return target_.GetMaxNameLength(path, length);
    }
    int Rename(const std::string& from, const std::string& to) override {
        return target_.Rename(from, to);
    }

protected:
    FileSystem& target_;
};

}  // namespace rivode::platform

#pragma GCC visibility pop
