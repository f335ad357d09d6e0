#include "storage/ini/ValueFile.h"

#include "storage/ini/IniFolderTree.h"

#include <cryptopp/crc.h>

#include <algorithm>
#include <array>
#include <cstring>

using rivode::platform::File;
using rivode::platform::FileAccessRead;
using rivode::platform::FileAccessRegularOnly;
using rivode::platform::FileAccessWrite;
using rivode::platform::FileInfo;
using rivode::platform::FileSystem;
using rivode::platform::OpenDisposition;

namespace rivode::storage {
namespace {

constexpr std::uint64_t kLockOffset = 0;
constexpr std::uint64_t kLockLength = 4;

// The journal's trailer: the content's length (8 bytes) and CRC-32C (4 bytes), little-endian,
// then a magic that no value file ends with; its last letter tells a journal of its own ('1')
// from the personal half of a two-file save ('2').
constexpr std::size_t kTrailerSize = 16;
constexpr std::array<char, 4> kSingleMagic = {'R', 'V', 'J', '1'};
constexpr std::array<char, 4> kPartnerMagic = {'R', 'V', 'J', '2'};

std::uint32_t Crc32c(std::string_view bytes) {
    CryptoPP::CRC32C crc;
    crc.Update(reinterpret_cast<const CryptoPP::byte*>(bytes.data()), bytes.size());
    std::array<CryptoPP::byte, 4> digest{};
    crc.Final(digest.data());
    std::uint32_t value = 0;
    std::memcpy(&value, digest.data(), digest.size());
    return value;
}

std::array<char, kTrailerSize> MakeTrailer(std::string_view content, bool partner) {
    std::array<char, kTrailerSize> trailer{};
    std::uint64_t length = content.size();
    std::uint32_t crc = Crc32c(content);
    for (int i = 0; i < 8; ++i) {
        trailer[i] = static_cast<char>(length >> (8 * i));
    }
    for (int i = 0; i < 4; ++i) {
        trailer[8 + i] = static_cast<char>(crc >> (8 * i));
    }
    const auto& magic = partner ? kPartnerMagic : kSingleMagic;
    std::copy(magic.begin(), magic.end(), trailer.begin() + 12);
    return trailer;
}

// The content a journal proves whole, or false; partner tells its kind.
bool WholeJournalContent(std::string_view journal, std::string_view& content, bool& partner) {
    if (journal.size() < kTrailerSize) {
        return false;
    }
    content = journal.substr(0, journal.size() - kTrailerSize);
    partner = journal.back() == kPartnerMagic.back();
    const auto expected = MakeTrailer(content, partner);
    return std::equal(expected.begin(), expected.end(), journal.end() - kTrailerSize);
}

int OpenRegular(const std::string& path, unsigned access, OpenDisposition disposition,
                unsigned mode, std::unique_ptr<File>& file, bool* created = nullptr) {
    return FileSystem::Current().OpenFile(path, access | FileAccessRegularOnly, disposition, mode,
                                          file, created);
}

bool IsMissing(int error) {
    return error == ENOENT || error == ENOTDIR;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

int ReadWholeInto(File& file, FileBytes& bytes, std::uint64_t maxSize) {
    bytes.clear();
    std::uint64_t size = 0;
    if (const int error = file.GetSize(size)) {
        return error;
    }
    if (size > maxSize) {
        return EFBIG;
    }
    // The size is a hint: the file may have changed since, and a read may return less than
    // asked anywhere. Only a read that returns nothing ends the file.
    std::size_t chunk = static_cast<std::size_t>(size) + 1;
    for (;;) {
        const std::size_t filled = bytes.size();
        char* at = bytes.Extend(chunk);
        std::size_t got = 0;
        const int error = file.ReadAt(filled, at, chunk, got);
        bytes.resize(filled + (error == 0 ? got : 0));
        if (error != 0) {
            return error;
        }
        if (got == 0) {
            return 0;
        }
        if (bytes.size() > maxSize) {
            return EFBIG;
        }
        // Under the lock the file keeps the size it had: a read that stops short exactly there
        // has met the end, and a further read would only say so again.
        if (got < chunk && bytes.size() == size) {
            return 0;
        }
        chunk = std::max<std::size_t>(chunk - std::min(chunk, got), 4096);
    }
}

// The journal of path, read whole when there is one; found is false when there is none.
ValueFileError ReadJournal(const std::string& journalPath, FileBytes& bytes, bool& found,
                           std::uint64_t maxSize) {
    found = false;
    std::unique_ptr<File> journal;
    const int error =
        OpenRegular(journalPath, FileAccessRead, OpenDisposition::OpenExisting, 0, journal);
    if (IsMissing(error)) {
        return {};
    }
    if (error == 0) {
        found = true;
        // A whole journal holds the content and its trailer.
        if (const int readError = ReadWholeInto(*journal, bytes, maxSize + kTrailerSize)) {
            return {readError, journalPath};
        }
        return {};
    }
    return {error, journalPath};
}

thread_local ValueFileSyncBatch* currentBatch = nullptr;

}  // namespace

char* FileBytes::Extend(std::size_t more) {
    if (more > capacity_ - size_) {
        // A file that grew while it was read needs more room: the block doubles then.
        const std::size_t capacity = std::max(size_ + more, capacity_ * 2);
        auto block = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_ != 0) {
            std::memcpy(block.get(), block_.get(), size_);
        }
        block_ = std::move(block);
        capacity_ = capacity;
    }
    return block_.get() + size_;
}

ValueFileError ReadValueFile(const std::string& path, FileBytes& bytes, bool& exists,
                             bool* committed, bool partnerCommitted, std::uint64_t maxSize) {
    bytes.clear();
    exists = false;
    if (committed != nullptr) {
        *committed = false;
    }
    std::unique_ptr<File> file;
    const int error = OpenRegular(path, FileAccessRead, OpenDisposition::OpenExisting, 0, file);
    if (IsMissing(error)) {
        return {};
    }
    if (error != 0) {
        return {error, path};
    }
    if (const int lockError = file->Lock(kLockOffset, kLockLength, false)) {
        return {lockError, path};
    }
    // Under the shared lock no writer is at work: a journal is what a dead one left.
    bool journalFound = false;
    if (ValueFileError journalError =
            ReadJournal(path + std::string(kJournalSuffix), bytes, journalFound, maxSize)) {
        return journalError;
    }
    std::string_view content;
    bool partner = false;
    const bool whole = journalFound && WholeJournalContent(bytes, content, partner);
    if (whole && (!partner || partnerCommitted)) {
        bytes.erase(content.size());
        if (committed != nullptr) {
            *committed = true;
        }
    } else if (const int readError = ReadWholeInto(*file, bytes, maxSize)) {
        bytes.clear();
        return {readError, path};
    }
    exists = !bytes.empty();
    return {};
}

ValueFileWriter::~ValueFileWriter() {
    if (locked_) {
        (void)file_->Unlock(kLockOffset, kLockLength);
    }
}

ValueFileError ValueFileWriter::Open(const std::string& path, unsigned fileMode,
                                     unsigned folderMode, bool create) {
    path_ = path;
    fileMode_ = fileMode;
    const OpenDisposition disposition =
        create ? OpenDisposition::OpenAlways : OpenDisposition::OpenExisting;
    // A writer that waited for the lock of a file that another one removed meanwhile (a key
    // deleted, or an empty file a failed save discarded) would write into a file without a
    // name: it opens again then.
    for (int attempt = 0; attempt < 16; ++attempt) {
        file_.reset();
        locked_ = false;
        created_ = false;
        int error = OpenRegular(path, FileAccessRead | FileAccessWrite, disposition, fileMode,
                                file_, &created_);
        if (!create && IsMissing(error)) {
            return {};
        }
        if (error == ENOENT) {
            // The key's folder may not exist yet: keys are not created until they hold values.
            const int folderError =
                CreateFolderWithParents(FolderOf(path), folderMode, &createdFolders_);
            error = OpenRegular(path, FileAccessRead | FileAccessWrite, disposition, fileMode,
                                file_, &created_);
            if (error == ENOENT && folderError != 0) {
                return {folderError, FolderOf(path)};
            }
        }
        if (error != 0) {
            file_.reset();
            return {error, path};
        }
        if (const int lockError = file_->Lock(kLockOffset, kLockLength, true)) {
            file_.reset();
            return {lockError, path};
        }
        locked_ = true;
        std::uint64_t links = 1;
        if (const int linkError = file_->GetLinkCount(links)) {
            return {linkError, path};
        }
        if (links > 0) {
            return {};
        }
    }
    return {ESTALE, path};
}

ValueFileError ValueFileWriter::ReadWholeJournal(FileBytes& content, bool& whole, JournalKind& kind,
                                                 bool& found) const {
    whole = false;
    if (ValueFileError error = ReadJournal(JournalPath(), content, found, maxSize_)) {
        return error;
    }
    std::string_view proven;
    bool partner = false;
    if (found && WholeJournalContent(content, proven, partner)) {
        whole = true;
        kind = partner ? JournalKind::Partner : JournalKind::Single;
        content.erase(proven.size());
    }
    return {};
}

ValueFileError ValueFileWriter::RemoveJournal() const {
    const int error = FileSystem::Current().DeleteFile(JournalPath());
    return {IsMissing(error) ? 0 : error, JournalPath()};
}

ValueFileError ValueFileWriter::Recover(ValueFileWriter* main, ValueFileWriter* partner) {
    const bool sync = !ValueFileSyncBatch::IsOpen();
    struct Pending {
        ValueFileWriter* writer;
        FileBytes content;
        bool whole = false;
        bool found = false;
        JournalKind kind = JournalKind::Single;
    } files[2] = {{main, {}}, {partner, {}}};
    for (Pending& file : files) {
        if (file.writer != nullptr && file.writer->IsOpen()) {
            if (ValueFileError error = file.writer->ReadWholeJournal(file.content, file.whole,
                                                                     file.kind, file.found)) {
                return error;
            }
        }
    }
    // The personal half of a two-file save counts only when the main half made it whole: that
    // journal is the save's commit. The personal file goes first, the main journal last.
    const bool committed = files[0].whole;
    for (Pending* file : {&files[1], &files[0]}) {
        if (!file->found) {
            continue;
        }
        if (file->whole && (file->kind == JournalKind::Single || committed)) {
            if (ValueFileError error = file->writer->WriteInPlace(file->content, sync)) {
                return error;
            }
        }
        if (ValueFileError error = file->writer->RemoveJournal()) {
            return error;
        }
    }
    return {};
}

ValueFileError ValueFileWriter::ReadCurrent(FileBytes& bytes) {
    if (const int error = ReadWholeInto(*file_, bytes, maxSize_)) {
        return {error, path_};
    }
    return {};
}

ValueFileError ValueFileWriter::WriteJournal(std::string_view content, JournalKind kind,
                                             bool sync) {
    const std::string journalPath = JournalPath();
    std::unique_ptr<File> journal;
    if (const int error = OpenRegular(journalPath, FileAccessWrite, OpenDisposition::CreateNew,
                                      fileMode_, journal)) {
        return {error, journalPath};
    }
    const auto trailer = MakeTrailer(content, kind == JournalKind::Partner);
    int error = journal->WriteAt(0, content.data(), content.size());
    if (error == 0) {
        error = journal->WriteAt(content.size(), trailer.data(), trailer.size());
    }
    if (error == 0 && sync) {
        error = journal->SyncData();
    }
    if (error != 0) {
        journal.reset();
        (void)FileSystem::Current().DeleteFile(journalPath);
        return {error, journalPath};
    }
    return {};
}

ValueFileError ValueFileWriter::WriteInPlace(std::string_view content, bool sync, bool* touched) {
    // Space first: a full disk then fails before a byte of the previous content is touched.
    int error = file_->Reserve(content.size());
    if (touched != nullptr) {
        *touched = error == 0;
    }
    if (error == 0) {
        error = file_->WriteAt(0, content.data(), content.size());
    }
    if (error == 0) {
        error = file_->Truncate(content.size());
    }
    if (error == 0 && sync) {
        error = file_->SyncData();
    }
    if (error == 0 && !sync) {
        ValueFileSyncBatch::NoteWritten(path_);
    }
    return {error, error != 0 ? path_ : std::string()};
}

ValueFileError ValueFileWriter::Replace(std::string_view content) {
    const bool sync = !ValueFileSyncBatch::IsOpen();
    if (ValueFileError error = WriteJournal(content, JournalKind::Single, sync)) {
        return error;
    }
    bool touched = false;
    if (ValueFileError error = WriteInPlace(content, sync, &touched)) {
        // A file that may be half rewritten keeps the whole journal: the next opener completes
        // this save from it. One that was not touched (no space to reserve) simply stays old.
        if (!touched) {
            (void)RemoveJournal();
        }
        return error;
    }
    return RemoveJournal();
}

ValueFileError ValueFileWriter::ReplacePair(ValueFileWriter& main, std::string_view mainContent,
                                            ValueFileWriter& partner,
                                            std::string_view partnerContent) {
    const bool sync = !ValueFileSyncBatch::IsOpen();
    if (ValueFileError error = partner.WriteJournal(partnerContent, JournalKind::Partner, sync)) {
        return error;
    }
    // The commit: from here on both files are new for every reader and the next writer.
    if (ValueFileError error = main.WriteJournal(mainContent, JournalKind::Single, sync)) {
        (void)partner.RemoveJournal();
        return error;
    }
    bool touched = false;
    if (ValueFileError error = partner.WriteInPlace(partnerContent, sync, &touched)) {
        if (!touched) {
            (void)main.RemoveJournal();
            (void)partner.RemoveJournal();
        }
        return error;
    }
    if (ValueFileError error = main.WriteInPlace(mainContent, sync)) {
        return error;
    }
    if (ValueFileError error = partner.RemoveJournal()) {
        return error;
    }
    return main.RemoveJournal();
}

void ValueFileWriter::DiscardCreated() {
    std::uint64_t size = 0;
    if (created_ && file_ && file_->GetSize(size) == 0 && size == 0) {
        (void)FileSystem::Current().DeleteFile(path_);
        for (auto folder = createdFolders_.rbegin(); folder != createdFolders_.rend(); ++folder) {
            (void)FileSystem::Current().RemoveFolder(*folder);  // fails while not empty
        }
    }
    if (locked_) {
        (void)file_->Unlock(kLockOffset, kLockLength);
        locked_ = false;
    }
    file_.reset();
}

ValueFileSyncBatch::ValueFileSyncBatch() : outer_(currentBatch) {
    currentBatch = this;
}

ValueFileSyncBatch::~ValueFileSyncBatch() {
    (void)End();
}

bool ValueFileSyncBatch::IsOpen() {
    return currentBatch != nullptr;
}

void ValueFileSyncBatch::NoteWritten(const std::string& path) {
    ValueFileSyncBatch* batch = currentBatch;
    if (batch == nullptr) {
        return;
    }
    while (batch->outer_ != nullptr) {
        batch = batch->outer_;
    }
    FileInfo info;
    if (FileSystem::Current().GetFileInfo(path, info) != 0 || !info.exists) {
        return;
    }
    for (const auto& [device, written] : batch->written_) {
        if (device == info.device) {
            return;
        }
    }
    batch->written_.emplace_back(info.device, path);
}

ValueFileError ValueFileSyncBatch::End() {
    if (ended_) {
        return {};
    }
    ended_ = true;
    currentBatch = outer_;
    ValueFileError first;
    for (const auto& [device, path] : written_) {
        std::unique_ptr<File> file;
        int error = OpenRegular(path, FileAccessRead, OpenDisposition::OpenExisting, 0, file);
        if (error == 0) {
            error = file->SyncFileSystem();
        }
        if (error != 0 && !first) {
            first = {error, path};
        }
    }
    written_.clear();
    return first;
}

}  // namespace rivode::storage
