// A file system installed for its own lifetime that forwards to the real one and fails what a
// test asks it to fail: writes or reservations of every file, writing to one path, removing
// another, and a name limit of its choosing.
#pragma once

#include "platform/FileSystem.h"

#include <cerrno>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rivode::test {

class FaultyFileSystem : public platform::ForwardingFileSystem {
public:
    int writeError = 0;
    int reserveError = 0;
    int writes = 0;                            // transfers attempted, failed ones included
    int listings = 0;                          // folders listed
    std::string readOnlyPath;                  // reported read-only; opening it to write fails
    std::string undeletablePath;               // removing it fails
    std::optional<std::size_t> maxNameLength;  // the real limit unless set

    FaultyFileSystem() : ForwardingFileSystem(platform::FileSystem::Current()) {}

    int OpenFile(const std::string& path, unsigned access, platform::OpenDisposition disposition,
                 unsigned mode, std::unique_ptr<platform::File>& file, bool* created) override {
        if (path == readOnlyPath && (access & platform::FileAccessWrite) != 0) {
            return EACCES;
        }
        std::unique_ptr<platform::File> real;
        const int error = target_.OpenFile(path, access, disposition, mode, real, created);
        if (error == 0) {
            file = std::make_unique<FaultyFile>(*this, std::move(real));
        }
        return error;
    }
    int GetFileInfo(const std::string& path, platform::FileInfo& info) override {
        const int error = target_.GetFileInfo(path, info);
        info.readOnly = info.readOnly || path == readOnlyPath;
        return error;
    }
    int ListFolder(const std::string& path, std::vector<platform::FolderEntry>& entries) override {
        ++listings;
        return target_.ListFolder(path, entries);
    }
    int DeleteFile(const std::string& path) override {
        return path == undeletablePath ? EACCES : target_.DeleteFile(path);
    }
    int GetMaxNameLength(const std::string& path, std::size_t& length) override {
        if (!maxNameLength) {
            return target_.GetMaxNameLength(path, length);
        }
        length = *maxNameLength;
        return 0;
    }

private:
    class FaultyFile : public platform::File {
    public:
        FaultyFile(FaultyFileSystem& owner, std::unique_ptr<File> real)
            : owner_(owner), real_(std::move(real)) {}
        int ReadAt(std::uint64_t offset, void* buffer, std::size_t length,
                   std::size_t& transferred) override {
            return real_->ReadAt(offset, buffer, length, transferred);
        }
        int WriteAt(std::uint64_t offset, const void* bytes, std::size_t length) override {
            ++owner_.writes;
            return owner_.writeError != 0 ? owner_.writeError
                                          : real_->WriteAt(offset, bytes, length);
        }
        int Truncate(std::uint64_t length) override { return real_->Truncate(length); }
        int GetSize(std::uint64_t& size) override { return real_->GetSize(size); }
        int Reserve(std::uint64_t length) override {
            return owner_.reserveError != 0 ? owner_.reserveError : real_->Reserve(length);
        }
        int Lock(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
            return real_->Lock(offset, length, exclusive);
        }
        int Unlock(std::uint64_t offset, std::uint64_t length) override {
            return real_->Unlock(offset, length);
        }

    private:
        FaultyFileSystem& owner_;
        std::unique_ptr<File> real_;
    };

    platform::ScopedFileSystem installed_{*this};
};

}  // namespace rivode::test
