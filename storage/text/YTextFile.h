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
    // When set, every read or write locks the region it transfers around the transfer (shared
    // for reads, exclusive for writes). Locks of one file do not nest: the unlock after a
    // transfer also drops a lock the caller took through this object on an overlapping region,
    // so a caller holding its own lock (the stores' lock on the first 4 bytes) leaves the flag
    // off or takes that lock through a second YFile.
    void SetLockWhileTransferring(bool lock) { lockWhileTransferring_ = lock; }

    // After opening, an existing file is probed for a byte-order mark (which sets the encoding
    // and is skipped; no mark means the code page); a newly created file, or one that the
    // disposition emptied, gets the mark of the current encoding (UTF-16 little-endian when
    // still unknown), queued as the first write. Opening for writing also asks for reading,
    // so that the mark of an existing file can be probed.
    bool Open(std::u16string_view path, unsigned access, Disposition disposition) override;
    using YFile::Open;
    // Truncates, then writes the mark of the current encoding at offset 0; the following
    // writes continue after the mark. Writes still queued are dropped (the file is emptied).
    bool Truncate() override;
    // Transfers queued writes first and discards what was read ahead.
    bool Seek(std::int64_t offset, SeekOrigin origin) override;
    // Transfers queued writes (a failure stays in GetLastError()), then closes.
    void Close() override;

    // The next line without its terminator (LF, CR or CR LF); false at the end of the file.
    // A conversion failure (text not valid in the file's encoding: GetLastError() is EILSEQ) or
    // a read failure ends reading: what was collected of the current line is returned when not
    // empty, and every later call returns false until the next Open or Seek. The line's
    // capacity is reused, so a caller reading many lines into one string allocates rarely.
    bool ReadLine(YUnicodeString& line);
    // Whether the last line ReadLine returned ended where reading stopped (the end of the file
    // or a failure) rather than at a terminator: a conversion failure then lies in that line,
    // just after its text, and otherwise at the start of the next line.
    bool LastLineUnterminated() const { return lastLineUnterminated_; }

    // Encodes text in the current encoding and queues it at the current offset. Writes are
    // buffered: Flush() (or Close) transfers them in one write, and a write failure surfaces
    // there at the latest. The offset advances only over bytes that were written. false at
    // once (nothing queued, EILSEQ) when the text has no form in the encoding, or when the
    // file is not open.
    [[nodiscard]] bool Write(std::u16string_view text);
    [[nodiscard]] bool Flush();

    // Rewriting a whole file so that a failure never loses its previous content: BeginRewrite
    // starts a new content in memory (the mark of the current encoding first) to which Write
    // appends; CommitRewrite reserves the space, writes the content from offset 0 and cuts the
    // file after it. Until CommitRewrite succeeds, the file keeps its previous content. The
    // caller holds the exclusive lock around both. A Close without CommitRewrite drops the
    // new content.
    [[nodiscard]] bool BeginRewrite();
    [[nodiscard]] bool CommitRewrite();

    // Bytes read from the file at a time.
    static constexpr std::size_t kReadBufferSize = 4096;

private:
    bool ProbeByteOrderMark();
    void QueueByteOrderMark();
    bool DecodeMore();
    bool Refill();
    bool WriteBytes(std::uint64_t offset, const char* bytes, std::size_t length);
    void ResetReadState();
    void StopReading(int error);

    Encoding encoding_ = EncodingUnknown;
    bool lockWhileTransferring_ = false;
    // Reading. The file offset of the next read is bufferOffset_ + fill_.
    std::uint64_t bufferOffset_ = 0;  // file offset of buffer_[0]
    std::size_t fill_ = 0;
    std::size_t consumed_ = 0;  // bytes of buffer_ decoded into pending_
    bool crSeen_ = false;
    bool textRead_ = false;
    bool lastLineUnterminated_ = false;
    bool endOfFile_ = false;       // the file gave no more bytes
    bool readingStopped_ = false;  // end of file reached, or a conversion or read failure
    // Both allocated at the first read (writers never need them), kReadBufferSize long.
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<char16_t[]> pending_;
    std::size_t pendingLength_ = 0;
    std::size_t pendingPosition_ = 0;
    // Writing: writeBuffer_ holds text queued at offset_ (or, while rewriting, the whole new
    // content of the file).
    std::string writeBuffer_;
    bool rewriting_ = false;
};
