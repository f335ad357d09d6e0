// Files under the stores: YFile, a file with explicit offsets, share mode, creation access
// control and byte-range locks; YTextFile, a text reader and writer on top of it that detects
// and writes byte-order marks, converts between the file's encoding and UTF-16 and splits lines.
//
// Paths are native paths in UTF-16 ('/' separated); the stores map key paths onto them.
// Failures leave the system error (an errno value) in GetLastError(). One thread at a time.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rivode::platform {
class File;
}

class YFile {
public:
    enum Access : unsigned { AccessRead = 1, AccessWrite = 2 };
    enum Disposition { CreateNew, CreateAlways, OpenExisting, OpenAlways, TruncateExisting };
    // Sharing is advisory on this platform (every opener shares everything); the stores still
    // say what they share, and the value is kept for callers that ask.
    enum ShareMode : unsigned { ShareRead = 1, ShareWrite = 2, ShareDelete = 4 };
    enum SeekOrigin { SeekBegin, SeekCurrent, SeekEnd };

    YFile();
    virtual ~YFile();
    YFile(const YFile&) = delete;
    YFile& operator=(const YFile&) = delete;

    void SetShareMode(unsigned mode) { shareMode_ = mode; }
    unsigned GetShareMode() const { return shareMode_; }
    // Applied to a file that Open creates (its mode); the file keeps its own copy.
    void SetAccessControl(const YAccessControl* access);

    virtual bool Open(std::u16string_view path, unsigned access, Disposition disposition);
    virtual bool Open(std::string_view narrowPath, unsigned access, Disposition disposition);
    // Sets the end of the file at offset 0 and restores the position.
    virtual bool Truncate();
    virtual bool Seek(std::int64_t offset, SeekOrigin origin);
    virtual void Close();

    bool IsOpen() const;
    // Whether the last successful Open created the file.
    bool WasCreated() const { return created_; }
    const YUnicodeString& GetPath() const { return path_; }
    int GetLastError() const { return lastError_; }
    std::uint64_t GetOffset() const { return offset_; }

    // Byte-range locks between processes; a lock request waits until granted.
    bool LockRegion(std::uint64_t offset, std::uint64_t length, bool exclusive);
    bool UnlockRegion(std::uint64_t offset, std::uint64_t length);

protected:
    bool Fail(int error);

    std::unique_ptr<rivode::platform::File> file_;
    YUnicodeString path_;
    unsigned shareMode_ = 0;
    std::optional<YAccessControl> accessControl_;
    std::uint64_t offset_ = 0;
    int lastError_ = 0;
    bool created_ = false;
};

// Deletes a file; 0 or the system error.
int YDeleteFile(std::u16string_view path);

class YTextFile : public YFile {
public:
    enum Encoding {
        EncodingUnknown = 0,
        EncodingCodePage = 1,  // no mark; Windows-1252 on this platform
        EncodingUtf8 = 2,      // mark EF BB BF
        EncodingUtf16LE = 3,   // mark FF FE
        EncodingUtf16BE = 4,   // mark FE FF
    };

    YTextFile();
    ~YTextFile() override;

    void SetEncoding(Encoding encoding) { encoding_ = encoding; }
    Encoding GetEncoding() const { return encoding_; }
    // When set, every read or write locks the region it transfers around the transfer.
    void SetLockWhileTransferring(bool lock) { lockWhileTransferring_ = lock; }

    // After opening, an existing file is probed for a byte-order mark (which sets the encoding
    // and is skipped); a newly created file gets the mark of the current encoding (UTF-16
    // little-endian when still unknown).
    bool Open(std::u16string_view path, unsigned access, Disposition disposition) override;
    using YFile::Open;
    // Truncates, then writes the mark of the current encoding at offset 0.
    bool Truncate() override;
    void Close() override;

    // The next line without its terminator (LF, CR or CR LF); false at the end of the file.
    // A conversion failure ends reading: what was collected is returned when not empty.
    bool ReadLine(YUnicodeString& line);

    // Encodes text in the current encoding and queues it at the current offset. Writes are
    // buffered: Flush() (or Close) transfers them, and a write failure surfaces there at the
    // latest. The offset advances only over bytes that were written.
    bool Write(std::u16string_view text);
    bool Flush();

    // Rewriting a whole file so that a failure never loses its previous content: BeginRewrite
    // starts a new content in memory (the mark of the current encoding first) to which Write
    // appends; CommitRewrite reserves the space, writes the content from offset 0 and cuts the
    // file after it. Until CommitRewrite succeeds, the file keeps its previous content. The
    // caller holds the exclusive lock around both.
    bool BeginRewrite();
    bool CommitRewrite();

private:
    bool ProbeByteOrderMark();
    bool WriteByteOrderMark();
    bool Refill();
    bool WriteBytes(const char* bytes, std::size_t length);
    void ResetReadState();

    Encoding encoding_ = EncodingUnknown;
    bool lockWhileTransferring_ = false;
    // Reading.
    std::uint64_t bufferOffset_ = 0;  // file offset of buffer_[0]
    std::size_t fill_ = 0;
    std::size_t consumed_ = 0;
    bool crSeen_ = false;
    bool textRead_ = false;
    bool endOfFile_ = false;
    std::vector<char> buffer_;
    YUnicodeString pending_;
    std::size_t pendingPosition_ = 0;
    // Writing.
    std::string writeBuffer_;
};
