#include "storage/text/YTextFile.h"

#include "platform/FileSystem.h"
#include "storage/text/TextCodec.h"

#include <cerrno>
#include <cstdint>

using rivode::platform::FileSystem;
using rivode::platform::OpenDisposition;

namespace {

// Files the stores create hold secrets: owner only, unless an access control says otherwise.
constexpr unsigned kDefaultFileMode = 0600;

OpenDisposition ToPlatform(YFile::Disposition disposition) {
    switch (disposition) {
        case YFile::CreateNew:
            return OpenDisposition::CreateNew;
        case YFile::CreateAlways:
            return OpenDisposition::CreateAlways;
        case YFile::OpenExisting:
            return OpenDisposition::OpenExisting;
        case YFile::OpenAlways:
            return OpenDisposition::OpenAlways;
        case YFile::TruncateExisting:
            break;
    }
    return OpenDisposition::TruncateExisting;
}

unsigned ToPlatform(unsigned access) {
    unsigned platformAccess = 0;
    if ((access & YFile::AccessRead) != 0) {
        platformAccess |= rivode::platform::FileAccessRead;
    }
    if ((access & YFile::AccessWrite) != 0) {
        platformAccess |= rivode::platform::FileAccessWrite;
    }
    return platformAccess != 0 ? platformAccess : rivode::platform::FileAccessRead;
}

}  // namespace

YFile::YFile() = default;

YFile::~YFile() {
    YFile::Close();
}

void YFile::SetAccessControl(const YAccessControl* access) {
    if (access != nullptr) {
        accessControl_ = *access;
    } else {
        accessControl_.reset();
    }
}

// Paths here are native POSIX paths: the extended-length prefix retry of drive and network
// paths has no counterpart, as nothing limits a path's length below what the kernel reports.
bool YFile::Open(std::u16string_view path, unsigned access, Disposition disposition) {
    Close();
    path_.assign(path);
    created_ = false;
    offset_ = 0;
    std::string nativePath;
    if (!rivode::storage::EncodeText(YTextFile::EncodingUtf8, path, nativePath)) {
        return Fail(EINVAL);
    }
    const unsigned mode = accessControl_ ? accessControl_->FileMode() : kDefaultFileMode;
    bool created = false;
    const int error = FileSystem::Current().OpenFile(
        nativePath, ToPlatform(access), ToPlatform(disposition), mode, file_, &created);
    if (error != 0) {
        file_.reset();
        return Fail(error);
    }
    created_ = created;
    lastError_ = 0;
    return true;
}

bool YFile::Open(std::string_view narrowPath, unsigned access, Disposition disposition) {
    YUnicodeString path;
    if (!rivode::FromUtf8Strict(narrowPath, path)) {
        Close();
        return Fail(EINVAL);
    }
    return Open(std::u16string_view(path), access, disposition);
}

bool YFile::Truncate() {
    if (!file_) {
        return Fail(EBADF);
    }
    const int error = file_->Truncate(0);
    return error == 0 ? true : Fail(error);
}

bool YFile::Seek(std::int64_t offset, SeekOrigin origin) {
    if (!file_) {
        return Fail(EBADF);
    }
    std::int64_t base = 0;
    if (origin == SeekCurrent) {
        base = static_cast<std::int64_t>(offset_);
    } else if (origin == SeekEnd) {
        std::uint64_t size = 0;
        if (const int error = file_->GetSize(size); error != 0) {
            return Fail(error);
        }
        base = static_cast<std::int64_t>(size);
    }
    const bool beforeStart = offset < 0 && base < -offset;
    const bool pastLimit = offset > 0 && base > INT64_MAX - offset;
    if (beforeStart || pastLimit) {
        return Fail(EINVAL);
    }
    offset_ = static_cast<std::uint64_t>(base + offset);
    return true;
}

void YFile::Close() {
    file_.reset();
    offset_ = 0;
}

bool YFile::IsOpen() const {
    return file_ != nullptr;
}

bool YFile::LockRegion(std::uint64_t offset, std::uint64_t length, bool exclusive) {
    if (!file_) {
        return Fail(EBADF);
    }
    const int error = file_->Lock(offset, length, exclusive);
    return error == 0 ? true : Fail(error);
}

bool YFile::UnlockRegion(std::uint64_t offset, std::uint64_t length) {
    if (!file_) {
        return Fail(EBADF);
    }
    const int error = file_->Unlock(offset, length);
    return error == 0 ? true : Fail(error);
}

bool YFile::Fail(int error) {
    lastError_ = error;
    return false;
}

int YDeleteFile(std::u16string_view path) {
    std::string nativePath;
    if (!rivode::ToUtf8Strict(path, nativePath)) {
        return EINVAL;
    }
    return FileSystem::Current().DeleteFile(nativePath);
}
