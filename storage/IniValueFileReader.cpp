#include "storage/IniValueFileReader.h"

#include "storage/HexText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace rivode::storage {
namespace {

// Lengths and counts come from the file: trust them for termination, not for allocation.
constexpr std::size_t kMaxReserve = 4096;

std::optional<std::uint32_t> ParseHex8(std::u16string_view text) {
    if (text.size() != 8) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (const char16_t c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        number = (number << 4) | static_cast<std::uint32_t>(digit);
    }
    return number;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }

// Appends the bytes of one continuation line; false when the line holds an odd digit, a
// character that is not hexadecimal, or more bytes than are still missing.
bool AppendHexBytes(std::u16string_view line, std::size_t missing, std::vector<std::uint8_t>& bytes) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (i + 1 >= line.size() || missing == 0) {
            return false;
        }
        const int high = HexDigitValue(line[i]);
        const int low = HexDigitValue(line[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>((high << 4) | low));
        --missing;
        i += 2;
    }
    return true;
}

struct Header {
    char16_t kind;
    std::u16string_view name;
    std::u16string_view rest;
    std::uint64_t nameHash;
};

// The name is hashed while its closing quote is looked for: the table needs the hash, and one
// pass over the name serves both.
std::optional<Header> ParseHeader(std::u16string_view line) {
    if (line.size() <= 4 || line[1] != u':' || line[2] != u'"') {
        return std::nullopt;
    }
    std::uint64_t hash = kValueNameHashStart;
    std::size_t close = 3;
    while (close < line.size() && line[close] != u'"') {
        hash = AddToValueNameHash(hash, line[close]);
        ++close;
    }
    if (close + 1 >= line.size() || line[close + 1] != u'=') {
        return std::nullopt;
    }
    return Header{line[0], line.substr(3, close - 3), line.substr(close + 2), hash};
}

// Splits text into lines without copying them.
class LineReader {
public:
    explicit LineReader(std::u16string_view text) : text_(text) {}

    bool Next(std::u16string_view& line) {
        if (position_ >= text_.size()) {
            return false;
        }
        const std::size_t end = FindLineEnd(position_);
        line = text_.substr(position_, end - position_);
        position_ = end + 1;
        if (end < text_.size() && text_[end] == u'\r' && position_ < text_.size() &&
            text_[position_] == u'\n') {
            ++position_;
        }
        return true;
    }

private:
    // The first CR or LF at or after from (the text's size when none). Lines are tens of
    // characters long: four code units are tested at a time, and no unit below 0x10 other than
    // the two terminators occurs in practice, so a group without one is passed over at once.
    std::size_t FindLineEnd(std::size_t from) const {
        constexpr std::uint64_t kLow = 0x0001000100010001ULL;
        constexpr std::uint64_t kHigh = 0x8000800080008000ULL;
        std::size_t i = from;
        for (; i + 4 <= text_.size(); i += 4) {
            std::uint64_t units;
            std::memcpy(&units, text_.data() + i, sizeof units);
            // A unit below 0x10 has a zero in units & 0xfff0.
            const std::uint64_t masked = units & 0xfff0fff0fff0fff0ULL;
            if (((masked - kLow) & ~masked & kHigh) == 0) {
                continue;
            }
            for (std::size_t k = i; k < i + 4; ++k) {
                if (text_[k] == u'\n' || text_[k] == u'\r') {
                    return k;
                }
            }
        }
        for (; i < text_.size(); ++i) {
            if (text_[i] == u'\n' || text_[i] == u'\r') {
                return i;
            }
        }
        return text_.size();
    }

    std::u16string_view text_;
    std::size_t position_ = 0;
};

class ValueFileParser {
public:
    ValueFileParser(std::u16string_view text, IniValueTable& table) : lines_(text), table_(table) {}

    // false when a line ended the reading early.
    bool Run() {
        std::u16string_view line;
        while (lines_.Next(line)) {
            const std::optional<Header> header = ParseHeader(line);
            if (!header || !ReadValue(*header)) {
                return false;
            }
        }
        return true;
    }

private:
    // false when the value is invalid, which ends the reading.
    bool ReadValue(const Header& header) {
        // A value with an empty name is read (its continuation lines consumed) but not kept.
        const bool keep = !header.name.empty();
        switch (header.kind) {
            case u'D': {
                const std::optional<std::uint32_t> number = ParseHex8(header.rest);
                if (number && keep) {
                    table_.EmplaceHashed<YIniFileDataDword>(header.name, header.nameHash, *number);
                }
                return number.has_value();
            }
            case u'S':
                if (keep) {
                    table_.EmplaceHashed<YIniFileDataString>(header.name, header.nameHash,
                                                            table_.CopyText(header.rest));
                }
                return true;
            case u'B': {
                const std::optional<std::uint32_t> length = ParseHex8(header.rest);
                return length && ReadBinary(header, *length, keep);
            }
            case u'Z': {
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
        std::u16string_view line;
        while (bytes.size() < length) {
            if (!lines_.Next(line) || !AppendHexBytes(line, length - bytes.size(), bytes)) {
                return false;
            }
        }
        if (keep) {
            table_.EmplaceHashed<YIniFileDataBinary>(header.name, header.nameHash, std::move(bytes));
        }
        return true;
    }

    bool ReadStringArray(const Header& header, std::uint32_t count, bool keep) {
        YStringArray texts;
        texts.reserve(std::min<std::size_t>(count, kMaxReserve));
        std::u16string_view line;
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!lines_.Next(line) || line.empty() || line[0] != u' ') {
                return false;
            }
            texts.emplace_back(line.substr(1));
        }
        if (keep) {
            table_.EmplaceHashed<YIniFileDataStringSz>(header.name, header.nameHash,
                                                        std::move(texts));
        }
        return true;
    }

    LineReader lines_;
    IniValueTable& table_;
};

}  // namespace

bool ReadIniValueFile(std::u16string_view text, IniValueTable& table) {
    return ValueFileParser(text, table).Run();
}

}  // namespace rivode::storage
