#include "storage/ini/IniValueFileReader.h"

#include "platform/Utf8Codec.h"

#include <RivodeRavudaVU/HexDigits.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rivode::storage {
namespace {

// Every character the format gives a meaning to is ASCII, and no byte of a multi-byte UTF-8
// character is: the lines are parsed as bytes, and only names and texts are ever decoded.
std::optional<std::uint32_t> ParseHex8(std::string_view text) {
    if (text.size() != 8) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        number = (number << 4) | static_cast<std::uint32_t>(digit);
    }
    return number;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Reads the bytes of one continuation line into out, which has room for missing more; the
// number read, or -1 when the line holds an odd digit, a character that is not hexadecimal, or
// more bytes than are still missing.
std::ptrdiff_t ReadHexBytes(std::string_view line, std::size_t missing, std::uint8_t* out) {
    std::size_t read = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (i + 1 >= line.size() || read == missing) {
            return -1;
        }
        const int byte = HexByteValue(line[i], line[i + 1]);
        if (byte < 0) {
            return -1;
        }
        out[read++] = static_cast<std::uint8_t>(byte);
        i += 2;
    }
    return static_cast<std::ptrdiff_t>(read);
}

#if defined(__SSE2__)
// The positions among the 16 bytes at bytes that hold a or b, as bits.
unsigned MatchEither(const char* bytes, __m128i a, __m128i b) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, a), _mm_cmpeq_epi8(chunk, b))));
}
#endif

// The first byte at or after from that is a or b; the text's size when none. Lines and names are
// tens of bytes long, too short for a call to memchr to pay off but long enough that testing a
// byte at a time costs more than the rest of the parsing. The last 16 bytes are tested as one
// load that overlaps the bytes tested before, so no byte is ever tested alone.
std::size_t FindEither(std::string_view text, std::size_t from, char a, char b) {
    std::size_t i = from;
#if defined(__SSE2__)
    if (text.size() >= 16) {
        const __m128i wantA = _mm_set1_epi8(a);
        const __m128i wantB = _mm_set1_epi8(b);
        for (; i + 16 <= text.size(); i += 16) {
            if (const unsigned found = MatchEither(text.data() + i, wantA, wantB)) {
                return i + static_cast<std::size_t>(std::countr_zero(found));
            }
        }
        if (i < text.size()) {
            const std::size_t last = text.size() - 16;
            // The bits of the bytes before i are dropped: they were tested, or lie before from.
            if (const unsigned found =
                    MatchEither(text.data() + last, wantA, wantB) >> (i - last)) {
                return i + static_cast<std::size_t>(std::countr_zero(found));
            }
        }
        return text.size();
    }
#endif
    for (; i < text.size(); ++i) {
        if (text[i] == a || text[i] == b) {
            return i;
        }
    }
    return text.size();
}

struct Header {
    char kind;
    std::string_view name;
    std::string_view rest;
};

std::optional<Header> ParseHeader(std::string_view line) {
    if (line.size() <= 4 || line[1] != ':' || line[2] != '"') {
        return std::nullopt;
    }
    const std::size_t close = FindEither(line, 3, '"', '"');
    if (close + 1 >= line.size() || line[close + 1] != '=') {
        return std::nullopt;
    }
    return Header{line[0], line.substr(3, close - 3), line.substr(close + 2)};
}

// Splits text into lines without copying them.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // How many bytes are left to read.
    std::size_t Remaining() const { return text_.size() - std::min(position_, text_.size()); }

    bool Next(std::string_view& line) {
        if (position_ >= text_.size()) {
            return false;
        }
        const std::size_t end = FindLineEnd(position_);
        line = text_.substr(position_, end - position_);
        position_ = end + 1;
        if (end < text_.size() && text_[end] == '\r' && position_ < text_.size() &&
            text_[position_] == '\n') {
            ++position_;
        }
        return true;
    }

private:
    std::size_t FindLineEnd(std::size_t from) const { return FindEither(text_, from, '\n', '\r'); }

    std::string_view text_;
    std::size_t position_ = 0;
};

class ValueFileParser {
public:
    ValueFileParser(std::string_view text, IniValueTable& table) : lines_(text), table_(table) {}

    // false when a line ended the reading early.
    bool Run() {
        std::string_view line;
        while (lines_.Next(line)) {
            const std::optional<Header> header = ParseHeader(line);
            if (!header || !ReadValue(*header)) {
                return false;
            }
        }
        return true;
    }

private:
    // The name as UTF-16, written into the table's arena: a new entry keeps it without a copy.
    std::u16string_view DecodeName(std::string_view name) {
        char16_t* out = table_.AllocateName(name.size());
        std::size_t written = 0;
        (void)platform::DecodeUtf8(name, out, written, platform::IllFormed::Stop);
        return {out, written};
    }

    // false when the value is invalid, which ends the reading.
    bool ReadValue(const Header& header) {
        // A value with an empty name is read (its continuation lines consumed) but not kept.
        const bool keep = !header.name.empty();
        switch (header.kind) {
            case 'D': {
                const std::optional<std::uint32_t> number = ParseHex8(header.rest);
                if (number && keep) {
                    table_.EmplaceArenaName<YIniFileDataDword>(DecodeName(header.name), *number);
                }
                return number.has_value();
            }
            case 'S':
                if (keep) {
                    table_.EmplaceArenaName<YIniFileDataString>(
                        DecodeName(header.name), YIniFileDataString::Utf8{header.rest});
                }
                return true;
            case 'B': {
                const std::optional<std::uint32_t> length = ParseHex8(header.rest);
                return length && ReadBinary(header, *length, keep);
            }
            case 'Z': {
                const std::optional<std::uint32_t> count = ParseHex8(header.rest);
                return count && ReadStringArray(header, *count, keep);
            }
            default:
                return false;
        }
    }

    bool ReadBinary(const Header& header, std::uint32_t length, bool keep) {
        // Two digits a byte: a length the rest of the text cannot hold ends the reading before
        // anything is allocated for it.
        if (length > lines_.Remaining() / 2) {
            return false;
        }
        std::uint8_t* bytes = table_.AllocateBytes(length);
        std::size_t read = 0;
        std::string_view line;
        while (read < length) {
            if (!lines_.Next(line)) {
                return false;
            }
            const std::ptrdiff_t added = ReadHexBytes(line, length - read, bytes + read);
            if (added < 0) {
                return false;
            }
            read += static_cast<std::size_t>(added);
        }
        if (keep) {
            table_.EmplaceArenaName<YIniFileDataBinary>(
                DecodeName(header.name),
                YIniFileDataBinary::Stored{std::span<const std::uint8_t>(bytes, length)});
        }
        return true;
    }

    bool ReadStringArray(const Header& header, std::uint32_t count, bool keep) {
        std::string_view line;
        const char* first = nullptr;
        const char* last = nullptr;
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!lines_.Next(line) || line.empty() || line[0] != ' ') {
                return false;
            }
            first = first == nullptr ? line.data() : first;
            last = line.data() + line.size();
        }
        if (keep) {
            const std::string_view lines =
                count == 0 ? std::string_view() : std::string_view(first, last - first);
            table_.EmplaceArenaName<YIniFileDataStringSz>(
                DecodeName(header.name), YIniFileDataStringSz::Stored{lines, count});
        }
        return true;
    }

    LineReader lines_;
    IniValueTable& table_;
};

}  // namespace

bool ReadIniValueFile(std::string_view bytes, IniValueTable& table) {
    // The text is cut where UTF-8 stops being valid before it is parsed, so the decoding of
    // names and texts below can never stop early.
    const platform::Utf8DecodeResult valid = platform::FindValidUtf8(bytes);
    const std::string_view text = table.CopyBytes(bytes.substr(0, valid.consumed));
    table.BeginLoad();
    const bool readAll = ValueFileParser(text, table).Run();
    table.EndLoad();
    return readAll && valid.consumed == bytes.size();
}

void ReadStoredTexts(std::string_view lines, std::uint32_t count, YStringArray& texts) {
    // The strings texts already holds are written over: a caller reading lists into one array
    // allocates once, not once per line.
    texts.resize(count);
    LineReader reader(lines);
    std::string_view line;
    for (std::uint32_t i = 0; i < count && reader.Next(line); ++i) {
        const std::string_view utf8 = line.substr(1);
        YUnicodeString& text = texts[i];
        text.resize(utf8.size());
        std::size_t written = 0;
        (void)platform::DecodeUtf8(utf8, text.data(), written, platform::IllFormed::Stop);
        text.resize(written);
    }
}

}  // namespace rivode::storage
