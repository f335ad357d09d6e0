// A file system installed for its own lifetime that forwards to the real one and fails what a
// test asks it to fail: any read, write, truncate, reservation, sync, rename or unlink at a
// chosen call (or every one), shortened reads, one path that is read-only or cannot be
// removed, and a name limit of its choosing. Every call that changes a file is counted, so a
// crash test can kill the process at each in turn.
#pragma once

#include "platform/FileSystem.h"

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rivode::test {

enum class FileCall { Read, Write, Truncate, Reserve, Sync, Rename, Unlink };

class FaultyFileSystem : public platform::ForwardingFileSystem {
public:
    // Fails the occurrence-th call of kind (counted from 1; 0 fails every one) with error. A
    // failed write first writes half of its bytes, as a write that ran out of space does.
    struct Fault {
        FileCall call;
        int occurrence;
        int error;
    };
    std::vector<Fault> faults;
    int writeError = 0;                        // every write fails so
    int reserveError = 0;                      // every reservation fails so
    std::size_t shortReads = 0;                // reads return at most this many bytes (0: all)
    int writes = 0;                            // transfers attempted, failed ones included
    int listings = 0;                          // folders listed
    int listError = 0;                         // every folder listing fails so
    std::string readOnlyPath;                  // reported read-only; opening it to write fails
    std::string undeletablePath;               // removing it fails
    std::optional<std::size_t> maxNameLength;  // the real limit unless set
    // Calls that change a file (write, truncate, reserve, sync, rename, unlink, creation) are
    // numbered from 1; the process kills itself at call killAtChange (0: never), a write
    // after writing half of its bytes, any other call before it runs.
    int killAtChange = 0;
    int changes = 0;

    FaultyFileSystem() : ForwardingFileSystem(platform::FileSystem::Current()) {}

    int OpenFile(const std::string& path, unsigned access, platform::OpenDisposition disposition,
                 unsigned mode, std::unique_ptr<platform::File>& file, bool* created) override {
        if (path == readOnlyPath && (access & platform::FileAccessWrite) != 0) {
            return EACCES;
        }
        if (disposition != platform::OpenDisposition::OpenExisting) {
            AnnounceOrDie();
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
        return listError != 0 ? listError : target_.ListFolder(path, entries);
    }
    int DeleteFile(const std::string& path) override {
        if (path == undeletablePath) {
            return EACCES;
        }
        const int error = Changing(FileCall::Unlink);
        return error != 0 ? error : target_.DeleteFile(path);
    }
    int Rename(const std::string& from, const std::string& to) override {
        const int error = Changing(FileCall::Rename);
        return error != 0 ? error : target_.Rename(from, to);
    }
    int GetMaxNameLength(const std::string& path, std::size_t& length) override {
        if (!maxNameLength) {
            return target_.GetMaxNameLength(path, length);
        }
        length = *maxNameLength;
        return 0;
    }

private:
    // Counts a changing call; true when it is the one to die at.
    bool Announce() { return ++changes == killAtChange; }
    void AnnounceOrDie() {
        if (Announce()) {
            ::raise(SIGKILL);
        }
    }

    // The error injected into this call of kind call, counting it; 0 for none.
    int Injected(FileCall call) {
        const int number = ++counts_[static_cast<int>(call)];
        for (const Fault& fault : faults) {
            if (fault.call == call && (fault.occurrence == 0 || fault.occurrence == number)) {
                return fault.error;
            }
        }
        return 0;
    }
    // A call that changes a file: counted (and died at), then its injected error or 0.
    int Changing(FileCall call) {
        AnnounceOrDie();
        return Injected(call);
    }

    class FaultyFile : public platform::File {
    public:
        FaultyFile(FaultyFileSystem& owner, std::unique_ptr<File> real)
            : owner_(owner), real_(std::move(real)) {}
        int ReadAt(std::uint64_t offset, void* buffer, std::size_t length,
                   std::size_t& transferred) override {
            if (const int error = owner_.Injected(FileCall::Read)) {
                transferred = 0;
                return error;
            }
            if (owner_.shortReads != 0) {
                length = std::min(length, owner_.shortReads);
            }
            return real_->ReadAt(offset, buffer, length, transferred);
        }
        int WriteAt(std::uint64_t offset, const void* bytes, std::size_t length) override {
            ++owner_.writes;
            if (owner_.Announce()) {
                (void)real_->WriteAt(offset, bytes, length / 2);
                ::raise(SIGKILL);
            }
            int error = owner_.Injected(FileCall::Write);
            error = error != 0 ? error : owner_.writeError;
            if (error != 0) {
                if (owner_.writeError == 0) {
                    (void)real_->WriteAt(offset, bytes, length / 2);
                }
                return error;
            }
            return real_->WriteAt(offset, bytes, length);
        }
        int Truncate(std::uint64_t length) override {
            const int error = owner_.Changing(FileCall::Truncate);
            return error != 0 ? error : real_->Truncate(length);
        }
        int GetSize(std::uint64_t& size) override { return real_->GetSize(size); }
        int GetLinkCount(std::uint64_t& links) override { return real_->GetLinkCount(links); }
        int Reserve(std::uint64_t length) override {
            int error = owner_.Changing(FileCall::Reserve);
            error = error != 0 ? error : owner_.reserveError;
            return error != 0 ? error : real_->Reserve(length);
        }
        int Lock(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
            return real_->Lock(offset, length, exclusive);
        }
        int Unlock(std::uint64_t offset, std::uint64_t length) override {
            return real_->Unlock(offset, length);
        }
        int SyncData() override {
            const int error = owner_.Changing(FileCall::Sync);
            return error != 0 ? error : real_->SyncData();
        }
        int SyncFileSystem() override {
            const int error = owner_.Changing(FileCall::Sync);
            return error != 0 ? error : real_->SyncFileSystem();
        }

    private:
        FaultyFileSystem& owner_;
        std::unique_ptr<File> real_;
    };

    int counts_[7] = {};
    platform::ScopedFileSystem installed_{*this};
};

// Runs work in a child process that kills itself at its killAt-th changing call; false when the
// child finished before reaching it.
inline bool RunKilledAtChange(int killAt, const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        FaultyFileSystem faulty;
        faulty.killAtChange = killAt;
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

}  // namespace rivode::test
