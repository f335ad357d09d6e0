// The value files of the INI folder store on disk: reading one whole, and replacing its content
// so that neither a killed process, a power cut, a short read nor a full disk loses a value.
//
// Every reader and writer of a value file locks its first 4 bytes: shared while reading,
// exclusive while replacing. That lock, the file's inode, owner, mode and links stay as they
// are: the content is rewritten in place, never renamed over. What makes the in-place rewrite
// safe is a journal beside the file (its path + ".journal"):
//
//   1. under the exclusive lock, the complete new content goes to the journal, followed by a
//      trailer (length, CRC-32C, magic) that proves it whole, and the journal is synced;
//   2. the content is written over the file from offset 0, the file is cut after it, synced;
//   3. the journal is removed.
//
// A process that dies before the journal is whole leaves the file untouched and a journal that
// proves nothing; one that dies after leaves a whole journal holding the new content. The next
// writer (under the exclusive lock) copies a whole journal into the file or removes a broken
// one before it saves; the next reader (under the shared lock, so no writer is at work) reads a
// whole journal instead of the file. Either way every key reads wholly old or wholly new.
//
// The cost is a second write of the content and two syncs per save instead of none. Bulk
// operations (applying the default session to every session, imports) open a
// ValueFileSyncBatch: its saves skip both syncs and the batch syncs the file system once when
// it ends, before it reports success. A killed process still leaves every key old or new then
// (the page cache survives it); a power cut in the middle of a batch may tear the keys it was
// rewriting.
//
// Files are opened without following symbolic links and must be regular files; a file larger
// than kMaxValueFileSize is refused. Every failure comes back as an errno value with the path
// of the file it concerns.
#pragma once

#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rivode::storage {

// Far above any real key (a session is a few kilobytes); a larger file is refused rather
// than read into memory. Files that hold a whole tree (the XML settings file) pass their own
// limit.
inline constexpr std::uint64_t kMaxValueFileSize = 64ull << 20;

inline constexpr std::string_view kJournalSuffix = ".journal";

// A failure: an errno value (0 for none) and the file it concerns.
struct ValueFileError {
    int error = 0;
    std::string path;
    explicit operator bool() const { return error != 0; }
};

// The bytes of a file read whole, in one block of their own that is neither zero-filled before
// the read nor copied after it: a key's value table takes the block over, and the texts it read
// stay views into it.
class FileBytes {
public:
    std::string_view View() const { return {block_.get(), size_}; }
    operator std::string_view() const { return View(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }
    // Keeps only the first size bytes.
    void erase(std::size_t size) { size_ = std::min(size_, size); }
    // Room for more bytes after the current ones, left as it is: a read fills it.
    char* Extend(std::size_t more);
    void resize(std::size_t size) { size_ = size; }  // within what Extend made room for
    // Hands the block over; empty afterwards.
    std::unique_ptr<char[]> Release() {
        size_ = capacity_ = 0;
        return std::move(block_);
    }

private:
    std::unique_ptr<char[]> block_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Reads the content of the value file at path, to its end, under the shared lock: the content
// of a whole journal when an interrupted save left one, else the file's. A missing file reads
// as empty with exists false; a file of length 0 is what a save killed before its first byte
// leaves, and reads as missing too.
//
// A key with a personal-data file saves both files as one: the personal file's journal is
// marked as a partner and counts only when the main file's journal is whole too (that journal
// is the save's commit). Read the main file first; committed tells whether its journal was
// whole, and goes to the reading of the personal file as partnerCommitted.
// A file (or journal) larger than maxSize fails with EFBIG.
[[nodiscard]] ValueFileError ReadValueFile(const std::string& path, FileBytes& bytes, bool& exists,
                                           bool* committed = nullptr, bool partnerCommitted = false,
                                           std::uint64_t maxSize = kMaxValueFileSize);

// A value file opened for replacing its content, under the exclusive lock until destroyed.
class ValueFileWriter {
public:
    ValueFileWriter() = default;
    ~ValueFileWriter();
    ValueFileWriter(const ValueFileWriter&) = delete;
    ValueFileWriter& operator=(const ValueFileWriter&) = delete;

    // Opens the file and takes the exclusive lock. With create, a missing file is made (with
    // fileMode, and its folder with folderMode); without, a missing file leaves the writer
    // closed (IsOpen false) and is no error. Finish what a dead process left with Recover.
    [[nodiscard]] ValueFileError Open(const std::string& path, unsigned fileMode,
                                      unsigned folderMode, bool create = true);
    bool IsOpen() const { return file_ != nullptr; }
    // The largest content (and journal) this writer reads; set before Recover.
    void SetMaxSize(std::uint64_t maxSize) { maxSize_ = maxSize; }
    // Whether Open created the file.
    bool WasCreated() const { return created_; }
    // Finishes or discards the save that a dead process left: for one file, or for the main
    // file and the personal file of one key (either may be closed), both locked.
    [[nodiscard]] static ValueFileError Recover(ValueFileWriter* main, ValueFileWriter* partner);
    // The file's current content, to its end.
    [[nodiscard]] ValueFileError ReadCurrent(FileBytes& bytes);
    // Replaces the content as the header describes. On failure the file holds its previous
    // content, or a whole journal holds the new one.
    [[nodiscard]] ValueFileError Replace(std::string_view content);
    // Replaces the content of a key's main and personal file as one save.
    [[nodiscard]] static ValueFileError ReplacePair(ValueFileWriter& main,
                                                    std::string_view mainContent,
                                                    ValueFileWriter& partner,
                                                    std::string_view partnerContent);
    // Removes a file that Open created and that was never given content, and the folders
    // Open made for it when they are still empty, so that a failed save leaves no empty key
    // behind; the lock is dropped.
    void DiscardCreated();

private:
    enum class JournalKind { Single, Partner };
    // The journal's content when it is whole and of a kind that counts; found tells whether
    // there was a journal at all.
    ValueFileError ReadWholeJournal(FileBytes& content, bool& whole, JournalKind& kind,
                                    bool& found) const;
    ValueFileError RemoveJournal() const;
    ValueFileError WriteJournal(std::string_view content, JournalKind kind, bool sync);
    // touched tells whether the file may have changed (false when the space could not even be
    // reserved).
    ValueFileError WriteInPlace(std::string_view content, bool sync, bool* touched = nullptr);
    std::string JournalPath() const { return path_ + std::string(kJournalSuffix); }

    std::string path_;
    std::unique_ptr<platform::File> file_;
    unsigned fileMode_ = 0600;
    std::uint64_t maxSize_ = kMaxValueFileSize;
    std::vector<std::string> createdFolders_;  // outermost first
    bool created_ = false;
    bool locked_ = false;
};

// While an object of this class lives on a thread, the value files that thread replaces are
// not synced one by one; the destructor (or End) syncs each file system written to once.
// Batches nest: the outermost one syncs.
class ValueFileSyncBatch {
public:
    ValueFileSyncBatch();
    ~ValueFileSyncBatch();
    ValueFileSyncBatch(const ValueFileSyncBatch&) = delete;
    ValueFileSyncBatch& operator=(const ValueFileSyncBatch&) = delete;

    // Syncs now; the first failure, with the path of a file on the file system that failed.
    [[nodiscard]] ValueFileError End();

    // Whether a batch is open on this thread.
    static bool IsOpen();
    // Records that path was written; the batch syncs its file system at the end.
    static void NoteWritten(const std::string& path);

private:
    ValueFileSyncBatch* outer_ = nullptr;
    // One file per file system written to (outermost batch only).
    std::vector<std::pair<std::uint64_t, std::string>> written_;
    bool ended_ = false;
};

}  // namespace rivode::storage
