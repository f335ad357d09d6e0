#include "storage/IniValueFileReader.h"

#include "storage/YTextFile.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace rivode::storage {
namespace {

// Lengths and counts come from the file: trust them for termination, not for allocation.
constexpr std::size_t kMaxReserve = 4096;

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

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
};

std::optional<Header> ParseHeader(std::u16string_view line) {
    if (line.size() <= 4 || line[1] != u':' || line[2] != u'"') {
        return std::nullopt;
    }
    const std::size_t close = line.find(u'"', 3);
    if (close == std::u16string_view::npos || close + 1 >= line.size() ||
        line[close + 1] != u'=') {
        return std::nullopt;
    }
    return Header{line[0], line.substr(3, close - 3), line.substr(close + 2)};
}

class ValueFileParser {
public:
    ValueFileParser(IniLineSource& source, IniValueTable& table) : source_(source), table_(table) {}

    void Run() {
        while (source_.ReadLine(line_)) {
            const std::optional<Header> header = ParseHeader(line_);
            if (!header) {
                return;
            }
            // The header views point into line_, which continuation lines overwrite.
            name_.assign(header->name);
            std::unique_ptr<YIniFileData> value = ReadValue(header->kind, header->rest);
            if (!value) {
                return;
            }
            if (!name_.empty()) {
                table_.Store(name_, std::move(value));
            }
        }
    }

private:
    std::unique_ptr<YIniFileData> ReadValue(char16_t kind, std::u16string_view rest) {
        switch (kind) {
            case u'D': {
                const std::optional<std::uint32_t> number = ParseHex8(rest);
                return number ? std::make_unique<YIniFileDataDword>(*number) : nullptr;
            }
            case u'S':
                return std::make_unique<YIniFileDataString>(YUnicodeString(rest));
            case u'B': {
                const std::optional<std::uint32_t> length = ParseHex8(rest);
                return length ? ReadBinary(*length) : nullptr;
            }
            case u'Z': {
                const std::optional<std::uint32_t> count = ParseHex8(rest);
                return count ? ReadStringArray(*count) : nullptr;
            }
            default:
                return nullptr;
        }
    }

    std::unique_ptr<YIniFileData> ReadBinary(std::uint32_t length) {
        std::vector<std::uint8_t> bytes;
        bytes.reserve(std::min<std::size_t>(length, kMaxReserve));
        while (bytes.size() < length) {
            if (!source_.ReadLine(line_) || !AppendHexBytes(line_, length - bytes.size(), bytes)) {
                return nullptr;
            }
        }
        return std::make_unique<YIniFileDataBinary>(std::move(bytes));
    }

    std::unique_ptr<YIniFileData> ReadStringArray(std::uint32_t count) {
        YStringArray texts;
        texts.reserve(std::min<std::size_t>(count, kMaxReserve));
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!source_.ReadLine(line_) || line_.empty() || line_[0] != u' ') {
                return nullptr;
            }
            texts.emplace_back(std::u16string_view(line_).substr(1));
        }
        return std::make_unique<YIniFileDataStringSz>(std::move(texts));
    }

    IniLineSource& source_;
    IniValueTable& table_;
    YUnicodeString line_;
    YUnicodeString name_;
};

}  // namespace

bool IniTextLineSource::ReadLine(YUnicodeString& line) {
    if (position_ >= text_.size()) {
        return false;
    }
    const std::size_t end = text_.find_first_of(u"\r\n", position_);
    if (end == std::u16string_view::npos) {
        line.assign(text_.substr(position_));
        position_ = text_.size();
        return true;
    }
    line.assign(text_.substr(position_, end - position_));
    position_ = end + 1;
    if (text_[end] == u'\r' && position_ < text_.size() && text_[position_] == u'\n') {
        ++position_;
    }
    return true;
}

bool IniTextFileLineSource::ReadLine(YUnicodeString& line) { return file_.ReadLine(line); }

void ReadIniValueFile(IniLineSource& source, IniValueTable& table) {
    ValueFileParser(source, table).Run();
}

}  // namespace rivode::storage
