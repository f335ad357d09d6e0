// Reads arbitrary bytes as a text file in every encoding, through YTextFile over an in-memory
// file whose reads come in pieces of varying size, and checks the lines against one decoding
// of the whole input: line splitting and characters cut by a read must not change the text.
// Valid text must also encode back to the same bytes, through the codec and through Write, and
// the UTF-8 judge that value files are parsed after must agree with the decoder.
#include "platform/FileSystem.h"
#include "storage/text/TextCodec.h"
#include "storage/text/YTextFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using rivode::platform::File;
using rivode::platform::FileSystem;
using rivode::platform::ForwardingFileSystem;
using rivode::platform::OpenDisposition;

// One file held in memory whose reads return at most `piece` bytes (all they can when piece is
// 0); the first returns at least 3, enough for any byte-order mark, as a real file's would.
class MemoryFile : public File {
public:
    MemoryFile(std::string& content, std::size_t piece) : content_(content), piece_(piece) {}
    int ReadAt(std::uint64_t offset, void* buffer, std::size_t length,
               std::size_t& transferred) override {
        transferred = 0;
        if (offset >= content_.size()) {
            return 0;
        }
        transferred = std::min<std::size_t>(length, content_.size() - offset);
        const std::size_t limit = offset == 0 ? std::max<std::size_t>(piece_, 3) : piece_;
        if (piece_ != 0 && transferred > limit) {
            transferred = limit;
        }
        std::memcpy(buffer, content_.data() + offset, transferred);
        return 0;
    }
    int WriteAt(std::uint64_t offset, const void* bytes, std::size_t length) override {
        if (content_.size() < offset + length) {
            content_.resize(offset + length);
        }
        std::memcpy(content_.data() + offset, bytes, length);
        return 0;
    }
    int Truncate(std::uint64_t length) override {
        content_.resize(length);
        return 0;
    }
    int GetSize(std::uint64_t& size) override {
        size = content_.size();
        return 0;
    }
    int GetLinkCount(std::uint64_t& links) override {
        links = 1;
        return 0;
    }
    int Reserve(std::uint64_t) override { return 0; }
    int Lock(std::uint64_t, std::uint64_t, bool) override { return 0; }
    int Unlock(std::uint64_t, std::uint64_t) override { return 0; }
    int SyncData() override { return 0; }
    int SyncFileSystem() override { return 0; }

private:
    std::string& content_;
    std::size_t piece_;
};

class MemoryFileSystem : public ForwardingFileSystem {
public:
    std::string content;
    std::size_t piece = 0;

    MemoryFileSystem() : ForwardingFileSystem(FileSystem::Current()) {}
    int OpenFile(const std::string&, unsigned, OpenDisposition disposition, unsigned,
                 std::unique_ptr<File>& file, bool* created) override {
        if (disposition == OpenDisposition::CreateAlways) {
            content.clear();
        }
        if (created != nullptr) {
            *created = disposition == OpenDisposition::CreateAlways;
        }
        file = std::make_unique<MemoryFile>(content, piece);
        return 0;
    }
};

std::vector<YUnicodeString> SplitLines(std::u16string_view text) {
    std::vector<YUnicodeString> lines;
    YUnicodeString line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') {
            line.push_back(text[i]);
            continue;
        }
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        }
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void ReadInEncoding(MemoryFileSystem& memory, YTextFile::Encoding encoding, std::string_view body) {
    memory.content.assign(rivode::storage::ByteOrderMark(encoding));
    memory.content.append(body);
    const std::string file = memory.content;

    std::size_t markLength = 0;
    const YTextFile::Encoding detected = rivode::storage::DetectByteOrderMark(file, markLength);
    YUnicodeString text;
    const std::string_view bytes = std::string_view(file).substr(markLength);
    const auto decoded = rivode::storage::DecodeText(detected, bytes, text);
    const bool failed = decoded.invalid || decoded.consumed != bytes.size();
    const std::vector<YUnicodeString> expected = SplitLines(text);

    YTextFile reader;
    Check(reader.Open(std::string_view("memory"), YFile::AccessRead, YFile::OpenExisting));
    Check(reader.GetEncoding() == detected);
    std::vector<YUnicodeString> lines;
    YUnicodeString line;
    while (reader.ReadLine(line)) {
        lines.push_back(line);
    }
    Check(lines == expected);
    Check(failed == (reader.GetLastError() == EILSEQ));
    reader.Close();
    if (failed) {
        return;
    }

    std::string encoded;
    Check(rivode::storage::EncodeText(detected, text, encoded));
    Check(encoded == bytes);

    // Written back line by line with LF, the file reads as the same lines.
    YTextFile writer;
    writer.SetEncoding(detected);
    Check(writer.Open(std::string_view("memory"), YFile::AccessWrite, YFile::CreateAlways));
    for (const YUnicodeString& written : expected) {
        Check(writer.Write(written));
        Check(writer.Write(u"\n"));
    }
    Check(writer.Flush());
    writer.Close();
    YTextFile again;
    Check(again.Open(std::string_view("memory"), YFile::AccessRead, YFile::OpenExisting));
    std::vector<YUnicodeString> reread;
    while (again.ReadLine(line)) {
        reread.push_back(line);
    }
    // A code-page file whose text begins like a mark is probed as that mark: skip the check.
    if (again.GetEncoding() == detected) {
        Check(reread == expected);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static MemoryFileSystem memory;
    static rivode::platform::ScopedFileSystem installed(memory);
    memory.piece = data[0] % 8;
    const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (const auto encoding : {YTextFile::EncodingCodePage, YTextFile::EncodingUtf8,
                                YTextFile::EncodingUtf16LE, YTextFile::EncodingUtf16BE}) {
        ReadInEncoding(memory, encoding, body);
    }
    // Judging UTF-8 without decoding it must stop where decoding stops, for the same reason.
    YUnicodeString decoded;
    const rivode::storage::TextDecodeResult full =
        rivode::storage::DecodeText(YTextFile::EncodingUtf8, body, decoded);
    const rivode::storage::TextDecodeResult judged = rivode::platform::FindValidUtf8(body);
    if (judged.consumed != full.consumed || judged.invalid != full.invalid) {
        std::abort();
    }
    return 0;
}
