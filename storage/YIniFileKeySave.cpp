// Saving a key: its values are composed into the text of the main file and of the personal
// file, then each file is rewritten whole under an exclusive lock on its first 4 bytes. The
// text file keeps its previous content until the new one is completely written, so a failure
// (a full disk, a file that cannot be opened) never loses values that were stored before.

#include "storage/YIniFileKey.h"

#include "storage/IniFolderTree.h"
#include "storage/YTextFile.h"

#include <algorithm>
#include <cerrno>
#include <tuple>

using rivode::platform::FileInfo;
using rivode::platform::FileSystem;

namespace {

constexpr std::uint64_t kLockOffset = 0;
constexpr std::uint64_t kLockLength = 4;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool IsReadOnlyFile(const std::string& path) {
    FileInfo info;
    return FileSystem::Current().GetFileInfo(path, info) == 0 && info.exists && info.readOnly;
}

int LastErrorOr(const YFile& file, int fallback) {
    return file.GetLastError() != 0 ? file.GetLastError() : fallback;
}

// Releases the lock and closes the file on every way out of a save.
class LockedFile {
public:
    YTextFile file;
    bool locked = false;
    ~LockedFile() {
        if (locked) {
            file.UnlockRegion(kLockOffset, kLockLength);
        }
    }
};

}  // namespace

int YIniFileKey::OpenForRewrite(YTextFile& file, const std::string& path) {
    YAccessControl ownerOnly;
    file.SetShareMode(YFile::ShareRead | YFile::ShareWrite | YFile::ShareDelete);
    file.SetAccessControl(access_ ? &*access_ : &ownerOnly);
    file.SetEncoding(YTextFile::EncodingUtf8);
    const unsigned access = YFile::AccessRead | YFile::AccessWrite;
    if (!file.Open(std::string_view(path), access, YFile::OpenAlways)) {
        // The key's folder may not exist yet (keys are not created until they hold values).
        const int folderError = rivode::storage::CreateFolderWithParents(FolderOf(path), FolderMode());
        if (!file.Open(std::string_view(path), access, YFile::OpenAlways)) {
            return LastErrorOr(file, folderError != 0 ? folderError : EIO);
        }
    }
    // Whatever mark an existing file had, it is rewritten as UTF-8 with a mark.
    file.SetEncoding(YTextFile::EncodingUtf8);
    if (!file.LockRegion(kLockOffset, kLockLength, true)) {
        return LastErrorOr(file, EIO);
    }
    return 0;
}

bool YIniFileKey::Save() {
    if (!table_ || (!table_->personalChanged && !table_->generalChanged)) {
        return true;
    }
    if (readOnly_ || refused_) {
        return Fail(EACCES);
    }
    const bool hasPersonalPath = !personalPath_.empty();
    bool writeMain = table_->generalChanged;
    bool writePersonal = false;
    // A changed personal table is written even when its last value was deleted, so that the
    // deletion is stored rather than silently dropped.
    if (table_->personalChanged) {
        if (hasPersonalPath) {
            writePersonal = true;
        } else {
            writeMain = true;
        }
    }

    YUnicodeString mainText;
    YUnicodeString personalText;
    const bool personalChanged = table_->personalChanged;
    const bool generalChanged = table_->generalChanged;
    // Multi-string values go last: pass 1 writes every other kind, pass 2 the lists.
    for (const bool lists : {false, true}) {
        table_->ForEachValue([&](std::u16string_view name, const YIniFileData& value, bool personal) {
            if ((value.GetKind() == ValueKindMultiString) != lists) {
                return;
            }
            if (personal && personalChanged && writePersonal) {
                value.WriteLines(name, personalText);
            } else if (writeMain && (generalChanged || !hasPersonalPath)) {
                value.WriteLines(name, mainText);
            }
        });
    }

    const std::string mainFile = writeMain ? MainValueFile() : std::string();
    const std::string personalFile =
        writePersonal ? PersonalValueFile() : std::string();
    if ((writeMain && IsReadOnlyFile(mainFile)) || (writePersonal && IsReadOnlyFile(personalFile))) {
        return Fail(EACCES);
    }

    // Both files are opened and locked before either is written, so a file that cannot be
    // opened fails the save before anything has changed.
    LockedFile main;
    LockedFile personal;
    if (writeMain) {
        if (const int error = OpenForRewrite(main.file, mainFile)) {
            return Fail(error);
        }
        main.locked = true;
        if (main.file.WasCreated() && siblings_.main) {
            siblings_.main->AddValueFile(std::string(LastComponent()));
        }
    }
    if (writePersonal) {
        if (const int error = OpenForRewrite(personal.file, personalFile)) {
            return Fail(error);
        }
        personal.locked = true;
        if (personal.file.WasCreated() && siblings_.personal) {
            siblings_.personal->AddValueFile(
                std::string(rivode::storage::LastPathComponent(personalPath_)));
        }
    }
    mainFileInfo_.reset();
    const std::tuple<LockedFile*, const YUnicodeString*, const std::string*> rewrites[] = {
        {&main, &mainText, &mainFile}, {&personal, &personalText, &personalFile}};
    for (const auto& [file, text, path] : rewrites) {
        if (!file->locked) {
            continue;
        }
        if (const int error = KeepDamagedContent(*path)) {
            return Fail(error);
        }
        if (!file->file.BeginRewrite() || !file->file.Write(*text) || !file->file.CommitRewrite()) {
            return Fail(LastErrorOr(file->file, EIO));
        }
    }
    return true;
}

int YIniFileKey::KeepDamagedContent(const std::string& path) {
    const auto damaged = std::find_if(damagedFiles_.begin(), damagedFiles_.end(),
                                      [&](const auto& entry) { return entry.first == path; });
    if (damaged == damagedFiles_.end()) {
        return 0;
    }
    const std::string& bytes = damaged->second;
    std::unique_ptr<rivode::platform::File> copy;
    int error = FileSystem::Current().OpenFile(
        path + ".damaged", rivode::platform::FileAccessWrite,
        rivode::platform::OpenDisposition::CreateAlways, FileMode(), copy, nullptr);
    if (error == 0) {
        error = copy->WriteAt(0, bytes.data(), bytes.size());
    }
    if (error == 0) {
        damagedFiles_.erase(damaged);
    }
    return error;
}
