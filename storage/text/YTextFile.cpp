#include "storage/text/YTextFile.h"

#include "platform/FileSystem.h"
#include "storage/text/TextCodec.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

using rivode::storage::ByteOrderMark;
using rivode::storage::DecodeText;
using rivode::storage::DetectByteOrderMark;
using rivode::storage::EncodeText;

namespace {

// Writes queued beyond this size are transferred at once, so that a long run of writes without
// a Flush does not hold the whole text twice in memory. Value files stay far below it.
constexpr std::size_t kWriteBufferLimit = 256 * 1024;

bool IsLineEnd(char16_t c) {
    return c <= u'\r' && (c == u'\r' || c == u'\n');
}

// Four code units at a time: a word none of whose units is below U+000E holds no terminator.
// The test flags a word holding such a unit (a tab too), which is then looked at unit by unit.
const char16_t* FindLineEnd(const char16_t* begin, const char16_t* end) {
    constexpr std::uint64_t kOnes = 0x0001000100010001ULL;
    constexpr std::uint64_t kHighBits = 0x8000800080008000ULL;
    const char16_t* next = begin;
    for (; end - next >= 4; next += 4) {
        std::uint64_t word;
        std::memcpy(&word, next, sizeof word);
        if (((word - kOnes * 0x000E) & ~word & kHighBits) == 0) {
            continue;
        }
        for (int k = 0; k < 4; ++k) {
            if (IsLineEnd(next[k])) {
                return next + k;
            }
        }
    }
    for (; next != end; ++next) {
        if (IsLineEnd(*next)) {
            return next;
        }
    }
    return end;
}

}  // namespace

YTextFile::YTextFile() = default;

YTextFile::~YTextFile() {
    YTextFile::Close();
}

bool YTextFile::Open(std::u16string_view path, unsigned access, Disposition disposition) {
    Close();
    const bool emptied = disposition == CreateAlways || disposition == TruncateExisting;
    unsigned granted = access;
    if ((access & AccessWrite) != 0 && !emptied) {
        granted |= AccessRead;
    }
    bool opened = YFile::Open(path, granted, disposition);
    if (!opened && granted != access && lastError_ == EACCES) {
        // A file we may write but not read: its mark cannot be probed, the encoding stays.
        granted = access;
        opened = YFile::Open(path, granted, disposition);
    }
    if (!opened) {
        return false;
    }
    ResetReadState();
    if (created_ || emptied) {
        if ((access & AccessWrite) != 0) {
            QueueByteOrderMark();
        }
        return true;
    }
    if ((granted & AccessRead) == 0 && (granted & AccessWrite) != 0) {
        return true;
    }
    return ProbeByteOrderMark();
}

bool YTextFile::ProbeByteOrderMark() {
    encoding_ = EncodingUnknown;
    if (!Refill()) {
        // The file stays open; reading it reports nothing more.
        encoding_ = EncodingCodePage;
        return true;
    }
    std::size_t markLength = 0;
    encoding_ = DetectByteOrderMark(std::string_view(buffer_.get(), fill_), markLength);
    consumed_ = markLength;
    return true;
}

void YTextFile::QueueByteOrderMark() {
    if (encoding_ == EncodingUnknown) {
        encoding_ = EncodingUtf16LE;
    }
    writeBuffer_.assign(ByteOrderMark(encoding_));
}

bool YTextFile::Truncate() {
    writeBuffer_.clear();
    rewriting_ = false;
    if (!YFile::Truncate()) {
        return false;
    }
    offset_ = 0;
    ResetReadState();
    writeBuffer_.assign(ByteOrderMark(encoding_));
    return true;
}

bool YTextFile::Seek(std::int64_t offset, SeekOrigin origin) {
    if (!Flush()) {
        return false;
    }
    if (!YFile::Seek(offset, origin)) {
        return false;
    }
    ResetReadState();
    return true;
}

void YTextFile::Close() {
    if (file_ && !rewriting_) {
        // A failure stays in GetLastError(); Close itself cannot report it.
        (void)Flush();
    }
    writeBuffer_.clear();
    rewriting_ = false;
    YFile::Close();
    ResetReadState();
}

void YTextFile::ResetReadState() {
    bufferOffset_ = offset_;
    fill_ = 0;
    consumed_ = 0;
    crSeen_ = false;
    textRead_ = false;
    lastLineUnterminated_ = false;
    endOfFile_ = false;
    readingStopped_ = false;
    pendingLength_ = 0;
    pendingPosition_ = 0;
}

void YTextFile::StopReading(int error) {
    readingStopped_ = true;
    if (error != 0) {
        lastError_ = error;
    }
}

bool YTextFile::ReadLine(YUnicodeString& line) {
    line.clear();
    if (!file_) {
        return Fail(EBADF);
    }
    if (!rewriting_ && !writeBuffer_.empty() && !Flush()) {
        return false;
    }
    textRead_ = false;
    for (;;) {
        if (pendingPosition_ < pendingLength_) {
            const char16_t* const text = pending_.get();
            const char16_t* begin = text + pendingPosition_;
            const char16_t* const end = text + pendingLength_;
            if (crSeen_) {
                crSeen_ = false;
                if (*begin == u'\n') {
                    ++pendingPosition_;
                    continue;
                }
            }
            const char16_t* const stop = FindLineEnd(begin, end);
            if (stop != begin) {
                line.append(begin, stop);
                textRead_ = true;
            }
            if (stop == end) {
                pendingPosition_ = pendingLength_;
                continue;
            }
            crSeen_ = *stop == u'\r';
            pendingPosition_ = static_cast<std::size_t>(stop + 1 - text);
            lastLineUnterminated_ = false;
            return true;
        }
        if (!DecodeMore()) {
            if (textRead_) {
                lastLineUnterminated_ = true;
            }
            return textRead_;
        }
    }
}

// Fills the pending text from the buffer, reading more bytes when the buffer holds no whole
// character; false when no more text will come.
bool YTextFile::DecodeMore() {
    pendingLength_ = 0;
    pendingPosition_ = 0;
    for (;;) {
        if (readingStopped_) {
            return false;
        }
        if (consumed_ < fill_) {
            const auto result = DecodeText(
                encoding_, std::string_view(buffer_.get() + consumed_, fill_ - consumed_),
                pending_.get(), pendingLength_);
            consumed_ += result.consumed;
            if (result.invalid) {
                StopReading(EILSEQ);
            }
            if (pendingLength_ != 0) {
                return true;
            }
            if (readingStopped_) {
                return false;
            }
        }
        if (endOfFile_) {
            // Bytes left over begin a character the file never completes.
            StopReading(consumed_ < fill_ ? EILSEQ : 0);
            return false;
        }
        if (!Refill()) {
            return false;
        }
    }
}

// Moves the undecoded bytes to the start of the buffer and reads behind them.
bool YTextFile::Refill() {
    if (!buffer_) {
        buffer_ = std::make_unique_for_overwrite<char[]>(kReadBufferSize);
        pending_ = std::make_unique_for_overwrite<char16_t[]>(kReadBufferSize);
    }
    if (consumed_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + consumed_, fill_ - consumed_);
        bufferOffset_ += consumed_;
        fill_ -= consumed_;
        consumed_ = 0;
    }
    const std::uint64_t at = bufferOffset_ + fill_;
    const std::size_t wanted = kReadBufferSize - fill_;
    if (lockWhileTransferring_ && !LockRegion(at, wanted, false)) {
        StopReading(lastError_);
        return false;
    }
    std::size_t transferred = 0;
    const int error = file_->ReadAt(at, buffer_.get() + fill_, wanted, transferred);
    if (lockWhileTransferring_) {
        (void)UnlockRegion(at, wanted);
    }
    if (error != 0) {
        StopReading(error);
        return false;
    }
    endOfFile_ = transferred == 0;
    fill_ += transferred;
    offset_ = bufferOffset_ + fill_;
    return true;
}

bool YTextFile::Write(std::u16string_view text) {
    if (!file_) {
        return Fail(EBADF);
    }
    if (!rewriting_ && (fill_ != 0 || readingStopped_ || pendingPosition_ < pendingLength_)) {
        // Writing continues behind the text decoded so far; what was read ahead is dropped.
        offset_ = bufferOffset_ + consumed_;
        ResetReadState();
    }
    if (!EncodeText(encoding_, text, writeBuffer_)) {
        return Fail(EILSEQ);
    }
    if (!rewriting_ && writeBuffer_.size() >= kWriteBufferLimit) {
        return Flush();
    }
    return true;
}

bool YTextFile::Flush() {
    if (rewriting_ || writeBuffer_.empty()) {
        return true;
    }
    if (!file_) {
        writeBuffer_.clear();
        return Fail(EBADF);
    }
    const bool written = WriteBytes(offset_, writeBuffer_.data(), writeBuffer_.size());
    if (written) {
        offset_ += writeBuffer_.size();
    }
    writeBuffer_.clear();
    ResetReadState();
    return written;
}

bool YTextFile::WriteBytes(std::uint64_t offset, const char* bytes, std::size_t length) {
    // A lock of length 0 would reach to the end of the file and beyond.
    if (length == 0) {
        return true;
    }
    if (lockWhileTransferring_ && !LockRegion(offset, length, true)) {
        return false;
    }
    const int error = file_->WriteAt(offset, bytes, length);
    if (lockWhileTransferring_) {
        (void)UnlockRegion(offset, length);
    }
    return error == 0 ? true : Fail(error);
}

bool YTextFile::BeginRewrite() {
    if (!file_) {
        return Fail(EBADF);
    }
    // The new content replaces the whole file: queued writes and read-ahead have no meaning.
    ResetReadState();
    if (encoding_ == EncodingUnknown) {
        encoding_ = EncodingUtf16LE;
    }
    writeBuffer_.assign(ByteOrderMark(encoding_));
    rewriting_ = true;
    return true;
}

bool YTextFile::CommitRewrite() {
    if (!rewriting_) {
        return Fail(EINVAL);
    }
    rewriting_ = false;
    if (!file_) {
        writeBuffer_.clear();
        return Fail(EBADF);
    }
    const std::size_t length = writeBuffer_.size();
    // Space first: a full disk then fails before a byte of the previous content is touched.
    int error = file_->Reserve(length);
    if (error == 0 && !WriteBytes(0, writeBuffer_.data(), length)) {
        error = lastError_;
    }
    writeBuffer_.clear();
    if (error == 0) {
        error = file_->Truncate(length);
    }
    if (error != 0) {
        return Fail(error);
    }
    offset_ = length;
    ResetReadState();
    return true;
}
