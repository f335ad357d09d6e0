#include "storage/ini/IniValueFileReader.h"

#include "platform/Utf8Codec.h"

#include <RivodeRavudaVU/HexDigits.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace rivode::storage {
namespace {

// Lengths and counts come from the file: trust them for termination, not for allocation.
constexpr std::size_t kMaxReserve = 4096;

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

// Appends the bytes of one continuation line; false when the line holds an odd digit, a
// character that is not hexadecimal, or more bytes than are still missing.
bool AppendHexBytes(std::string_view line, std::size_t missing, std::vector<std::uint8_t>& bytes) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (i + 1 >= line.size() || missing == 0) {
            return false;
        }
        const int byte = HexByteValue(line[i], line[i + 1]);
        if (byte < 0) {
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(byte));
        --missing;
        i += 2;
    }
    return true;
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
    const std::size_t close = line.find('"', 3);
    if (close == std::string_view::npos || close + 1 >= line.size() || line[close + 1] != '=') {
        return std::nullopt;
    }
    return Header{line[0], line.substr(3, close - 3), line.substr(close + 2)};
}

// Splits text into lines without copying them.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

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
    // The first CR or LF at or after from (the text's size when none). Lines are tens of bytes
    // long: eight bytes are tested at a time, and no byte below 0x10 other than the two
    // terminators occurs in practice, so a group without one is passed over at once.
    std::size_t FindLineEnd(std::size_t from) const {
        constexpr std::uint64_t kLow = 0x0101010101010101ULL;
        constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
        std::size_t i = from;
        for (; i + 8 <= text_.size(); i += 8) {
            std::uint64_t bytes;
            std::memcpy(&bytes, text_.data() + i, sizeof bytes);
            // A byte below 0x10 has a zero in bytes & 0xf0.
            const std::uint64_t masked = bytes & 0xf0f0f0f0f0f0f0f0ULL;
            if (((masked - kLow) & ~masked & kHigh) == 0) {
                continue;
            }
            for (std::size_t k = i; k < i + 8; ++k) {
                if (text_[k] == '\n' || text_[k] == '\r') {
                    return k;
                }
            }
        }
        for (; i < text_.size(); ++i) {
            if (text_[i] == '\n' || text_[i] == '\r') {
                return i;
            }
        }
        return text_.size();
    }

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
    // The name as UTF-16, in a buffer reused for every line (the table copies what it keeps).
    std::u16string_view DecodeName(std::string_view name) {
        if (name_.size() < name.size()) {
            name_.resize(name.size());
        }
        std::size_t written = 0;
        (void)platform::DecodeUtf8(name, name_.data(), written, platform::IllFormed::Stop);
        return {name_.data(), written};
    }

    // false when the value is invalid, which ends the reading.
    bool ReadValue(const Header& header) {
        // A value with an empty name is read (its continuation lines consumed) but not kept.
        const bool keep = !header.name.empty();
        switch (header.kind) {
            case 'D': {
                const std::optional<std::uint32_t> number = ParseHex8(header.rest);
                if (number && keep) {
                    table_.Emplace<YIniFileDataDword>(DecodeName(header.name), *number);
                }
                return number.has_value();
            }
            case 'S':
                if (keep) {
                    table_.Emplace<YIniFileDataString>(DecodeName(header.name),
                                                       YIniFileDataString::Utf8{header.rest});
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
        std::vector<std::uint8_t> bytes;
        bytes.reserve(std::min<std::size_t>(length, kMaxReserve));
        std::string_view line;
        while (bytes.size() < length) {
            if (!lines_.Next(line) || !AppendHexBytes(line, length - bytes.size(), bytes)) {
                return false;
            }
        }
        if (keep) {
            table_.Emplace<YIniFileDataBinary>(DecodeName(header.name), std::move(bytes));
        }
        return true;
    }

    bool ReadStringArray(const Header& header, std::uint32_t count, bool keep) {
        YStringArray texts;
        texts.reserve(std::min<std::size_t>(count, kMaxReserve));
        std::string_view line;
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!lines_.Next(line) || line.empty() || line[0] != ' ') {
                return false;
            }
            texts.push_back(DecodeText(line.substr(1)));
        }
        if (keep) {
            table_.Emplace<YIniFileDataStringSz>(DecodeName(header.name), std::move(texts));
        }
        return true;
    }

    static YUnicodeString DecodeText(std::string_view utf8) {
        YUnicodeString text(utf8.size(), u'\0');
        std::size_t written = 0;
        (void)platform::DecodeUtf8(utf8, text.data(), written, platform::IllFormed::Stop);
        text.resize(written);
        return text;
    }

    LineReader lines_;
    IniValueTable& table_;
    YUnicodeString name_;
};

}  // namespace

bool ReadIniValueFile(std::string_view bytes, IniValueTable& table) {
    // The text is cut where UTF-8 stops being valid before it is parsed, so the decoding of
    // names and texts below can never stop early.
    const platform::Utf8DecodeResult valid = platform::FindValidUtf8(bytes);
    const std::string_view text = table.CopyBytes(bytes.substr(0, valid.consumed));
    return ValueFileParser(text, table).Run() && valid.consumed == bytes.size();
}

}  // namespace rivode::storage
