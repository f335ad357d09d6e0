#include "storage/ini/IniValueFileReader.h"

#include "platform/Utf8Codec.h"
#include "storage/ini/IniTextMarks.h"
#include "storage/ini/SameBytes.h"

#include <RivodeRavudaVU/HexDigits.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <tmmintrin.h>
#endif

namespace rivode::storage {
namespace {

// Every character the format gives a meaning to is ASCII, and no byte of a multi-byte UTF-8
// character is: the lines are parsed as bytes, and only names and texts are ever decoded.

#if defined(__SSE2__)
// Which of sixteen characters are hexadecimal digits (all bits of their bytes set), with the
// value of each in values: its low nibble, plus 9 for a letter. Compared as signed bytes: a
// byte above 0x7F is below every character looked for.
[[gnu::always_inline]] inline __m128i HexDigits(__m128i chars, __m128i& values) {
    const __m128i lower = _mm_or_si128(chars, _mm_set1_epi8(0x20));  // 'A'-'F' as 'a'-'f'
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(chars, _mm_set1_epi8('0' - 1)),
                                        _mm_cmplt_epi8(chars, _mm_set1_epi8('9' + 1)));
    const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)),
                                         _mm_cmplt_epi8(lower, _mm_set1_epi8('f' + 1)));
    values = _mm_add_epi8(_mm_and_si128(chars, _mm_set1_epi8(0x0F)),
                          _mm_and_si128(letter, _mm_set1_epi8(9)));
    return _mm_or_si128(digit, letter);
}
#endif

// Inlined: called once per number, a call costs as much as the parsing.
[[gnu::always_inline]] inline std::optional<std::uint32_t> ParseHex8(std::string_view text) {
    if (text.size() != 8) {
        return std::nullopt;
    }
#if defined(__SSE2__)
    // The eight digits checked and turned into nibbles together: a test or a table look-up per
    // digit costs more than the rest of a number's line, and so did the same in a general
    // register, which had to build each of its byte-wise constants anew for every number.
    const __m128i chars = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(text.data()));
    __m128i nibbles;
    if ((_mm_movemask_epi8(HexDigits(chars, nibbles)) & 0xFF) != 0xFF) {
        return std::nullopt;
    }
    // Each pair of digits as one byte (the first is the high nibble), then the four bytes with
    // the first as the most significant.
    const __m128i pairs =
        _mm_or_si128(_mm_and_si128(_mm_slli_epi16(nibbles, 4), _mm_set1_epi16(0x00F0)),
                     _mm_srli_epi16(nibbles, 8));
    const auto bytes =
        static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(pairs, pairs)));
    return __builtin_bswap32(bytes);
#else
    int bad = 0;
    std::uint32_t number = 0;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        bad |= digit;
        number = (number << 4) | static_cast<std::uint32_t>(digit & 0xF);
    }
    if (bad < 0) {
        return std::nullopt;
    }
    return number;
#endif
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

#if defined(__x86_64__)
// Up to sixteen bytes laid out as the writer lays them out (a blank, then two digits, for
// each): the first count such triples of the 48 characters at chars, all of which may be read.
// They are checked and turned into bytes together in registers, where a table look-up per digit
// cost most of a binary value's reading. false, with out untouched, when those characters are
// not that.
[[gnu::target("ssse3")]] bool ReadHexTriples(const char* chars, std::size_t count,
                                             std::uint8_t* out) {
    // Where the first and the second digit of each byte sit among the three blocks of sixteen
    // characters: per block, each byte's lane takes its digit when that block holds it.
    struct Lanes {
        alignas(16) std::array<std::array<std::int8_t, 16>, 3> block;
    };
    static constexpr auto lanesOf = [](std::size_t digit) {
        Lanes lanes{};
        for (std::size_t byte = 0; byte < 16; ++byte) {
            const std::size_t at = 3 * byte + 1 + digit;
            for (std::size_t block = 0; block < 3; ++block) {
                lanes.block[block][byte] =
                    at / 16 == block ? static_cast<std::int8_t>(at % 16) : std::int8_t{-1};
            }
        }
        return lanes;
    };
    static constexpr Lanes kHigh = lanesOf(0);
    static constexpr Lanes kLow = lanesOf(1);
    constexpr std::uint64_t kBlanks = 0x249249249249;  // every third character, from the first
    const std::uint64_t used = (std::uint64_t{1} << (3 * count)) - 1;
    std::uint64_t blanks = 0;
    std::uint64_t digits = 0;
    __m128i high = _mm_setzero_si128();
    __m128i low = _mm_setzero_si128();
    for (std::size_t block = 0; block < 3; ++block) {
        const __m128i chars16 =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + block * 16));
        const auto bits = [](__m128i matches) {
            return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(matches)));
        };
        __m128i values;
        blanks |= bits(_mm_cmpeq_epi8(chars16, _mm_set1_epi8(' '))) << (block * 16);
        digits |= bits(HexDigits(chars16, values)) << (block * 16);
        const auto lanes = [block](const Lanes& of) {
            return _mm_load_si128(reinterpret_cast<const __m128i*>(of.block[block].data()));
        };
        high = _mm_or_si128(high, _mm_shuffle_epi8(values, lanes(kHigh)));
        low = _mm_or_si128(low, _mm_shuffle_epi8(values, lanes(kLow)));
    }
    if ((blanks & kBlanks & used) != (kBlanks & used) ||
        (digits & ~kBlanks & used) != (~kBlanks & used)) {
        return false;
    }
    // Every value is below 16: shifting 16-bit lanes moves no bit into the next byte.
    const __m128i bytes = _mm_or_si128(_mm_slli_epi16(high, 4), low);
    if (count == 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
    } else {
        alignas(16) std::uint8_t all[16];
        _mm_store_si128(reinterpret_cast<__m128i*>(all), bytes);
        std::memcpy(out, all, count);
    }
    return true;
}
#endif

// Reads the bytes of one continuation line into out, which has room for missing more; the
// number read, or -1 when the line holds an odd digit, a character that is not hexadecimal, or
// more bytes than are still missing. The text holding the line may be read up to textEnd.
std::ptrdiff_t ReadHexBytes(std::string_view line, const char* textEnd, std::size_t missing,
                            std::uint8_t* out) {
    std::size_t read = 0;
    std::size_t i = 0;
#if defined(__x86_64__)
    static const bool hasShuffle = __builtin_cpu_supports("ssse3");
    while (hasShuffle && read < missing) {
        const std::size_t count =
            std::min({(line.size() - i) / 3, missing - read, std::size_t{16}});
        if (count == 0 || textEnd - (line.data() + i) < 48 ||
            !ReadHexTriples(line.data() + i, count, out + read)) {
            break;
        }
        i += 3 * count;
        read += count;
    }
#endif
    // Lines as they are written (a blank, then two digits, for each byte) go three characters
    // at a time; anything else is read by the general loop below from where this one stopped.
    while (i + 3 <= line.size() && line[i] == ' ' && read < missing) {
        const int byte = HexByteValue(line[i + 1], line[i + 2]);
        if (byte < 0) {
            break;
        }
        out[read++] = static_cast<std::uint8_t>(byte);
        i += 3;
    }
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

struct Header {
    char kind;
    std::string_view prefix;  // from the kind to the equals sign, for IniValueTable::LoadName
    std::string_view name;
    std::string_view rest;
    // Whether prefix is the header the thread's last reading met at this value.
    bool followed = false;
};

// Splits text into lines without copying them; the header of a value line is parsed here,
// where the marks of the whole text are known.
class LineReader {
public:
    LineReader(std::string_view text, const TextMarks& marks) : text_(text), marks_(marks) {}

    // How many bytes are left to read.
    std::size_t Remaining() const { return text_.size() - std::min(position_, text_.size()); }

    // Whether the next line starts with prefix, which holds no line end.
    bool NextStartsWith(std::string_view prefix) const {
        return Remaining() >= prefix.size() &&
               SameBytes(text_.data() + position_, prefix.data(), prefix.size());
    }

    // The text and the reading position, for a reader that takes several lines at once.
    std::string_view Text() const { return text_; }
    std::size_t Position() const { return position_; }
    void SkipTo(std::size_t position) { position_ = position; }
    // Where the line after the one ending at end (a line end, or the text's end) starts: a CR
    // and LF end a line together.
    std::size_t AfterLineEnd(std::size_t end) const {
        std::size_t next = end + 1;
        if (end < text_.size() && text_[end] == '\r' && next < text_.size() &&
            text_[next] == '\n') {
            ++next;
        }
        return next;
    }
    const TextMarks& Marks() const { return marks_; }

    bool Next(std::string_view& line) {
        if (position_ >= text_.size()) {
            return false;
        }
        Take(marks_.FindLineEnd(position_, text_.size()), line);
        return true;
    }

    // The header of the line Next gave last: its kind, its name (up to the first quote after
    // the opening one) and the rest after the quote and the equals sign.
    std::optional<Header> ParseHeader(std::string_view line) const {
        if (line.size() <= 4 || line[1] != ':' || line[2] != '"') {
            return std::nullopt;
        }
        // Names are read here only where a file parts from the last one read: searching each
        // on its own costs less than marking every quote of every file.
        const std::size_t close = line.find('"', 3);
        if (close == std::string_view::npos || close + 1 >= line.size() || line[close + 1] != '=') {
            return std::nullopt;
        }
        const std::string_view prefix = line.substr(0, close + 2);
        return Header{line[0], prefix, NameInHeader(prefix), line.substr(close + 2)};
    }

private:
    // The line from the reading position to end, where a line end (or the text's end) is.
    void Take(std::size_t end, std::string_view& line) {
        line = text_.substr(position_, end - position_);
        position_ = AfterLineEnd(end);
    }

    std::string_view text_;
    const TextMarks& marks_;
    std::size_t position_ = 0;
};

class ValueFileParser {
public:
    ValueFileParser(std::string_view text, const TextMarks& marks, IniValueTable& table)
        : lines_(text, marks), table_(table) {}

    // false when a line ended the reading early.
    bool Run() {
        std::string_view line;
        for (;;) {
            if (!table_.FollowedHeader().empty()) {
                ReadFollowedLines();
            }
            // Files of one kind hold the same values in the same order: a line that starts
            // with the header the thread's last reading met here needs no parsing of it.
            // The numbers and texts among them are read above; what comes here is a value with
            // continuation lines, or one whose number ReadValue will find not valid.
            const std::string_view followed = table_.FollowedHeader();
            if (!followed.empty() && lines_.NextStartsWith(followed)) {
                lines_.Next(line);
                const Header header{followed[0], followed, NameInHeader(followed),
                                    line.substr(followed.size()), true};
                if (!ReadValue(header)) {
                    return false;
                }
                continue;
            }
            if (!lines_.Next(line)) {
                return true;
            }
            const std::optional<Header> header = lines_.ParseHeader(line);
            if (!header || !ReadValue(*header)) {
                return false;
            }
        }
    }

private:
    // Reads the numbers and texts whose lines start with the headers the thread's last reading
    // met, in a row, as far as they go. The lines this leaves (a value with continuation lines,
    // a line that parts from that reading, one not valid) go through the general path.
    void ReadFollowedLines() {
        const std::string_view text = lines_.Text();
        const TextMarks& marks = lines_.Marks();
        std::size_t at = lines_.Position();
        table_.FollowLines([&](std::string_view header) -> YIniFileData* {
            if (at >= text.size() || text.size() - at < header.size() ||
                !SameBytes(text.data() + at, header.data(), header.size())) {
                return nullptr;
            }
            const std::size_t rest = at + header.size();
            YIniFileData* value = nullptr;
            std::size_t end = 0;
            if (header[0] == 'D') {
                // A number's line ends after its eight digits.
                end = rest + 8;
                if (end > text.size() ||
                    (end < text.size() && text[end] != '\r' && text[end] != '\n')) {
                    return nullptr;
                }
                const std::optional<std::uint32_t> number = ParseHex8(text.substr(rest, 8));
                if (!number) {
                    return nullptr;
                }
                value = table_.MakeValue<YIniFileDataDword>(*number);
            } else if (header[0] == 'S') {
                end = marks.FindLineEnd(rest, text.size());
                value = table_.MakeValue<YIniFileDataString>(
                    YIniFileDataString::Utf8{text.substr(rest, end - rest)});
            } else {
                return nullptr;
            }
            at = lines_.AfterLineEnd(end);
            return value;
        });
        lines_.SkipTo(at);
    }

    // Stores a value of kind T read under header.
    template <class T, class Stored>
    void Keep(const Header& header, Stored&& stored) {
        if (header.followed) {
            table_.EmplaceFollowed<T>(std::forward<Stored>(stored));
        } else {
            table_.EmplaceArenaName<T>(table_.LoadName(header.prefix),
                                       std::forward<Stored>(stored));
        }
    }

    // false when the value is invalid, which ends the reading. Inlined into both paths of Run:
    // the call cost as much as a number's parsing.
    [[gnu::always_inline]] bool ReadValue(const Header& header) {
        // A value with an empty name is read (its continuation lines consumed) but not kept.
        const bool keep = !header.name.empty();
        switch (header.kind) {
            case 'D': {
                const std::optional<std::uint32_t> number = ParseHex8(header.rest);
                if (number && keep) {
                    Keep<YIniFileDataDword>(header, *number);
                }
                return number.has_value();
            }
            case 'S':
                if (keep) {
                    Keep<YIniFileDataString>(header, YIniFileDataString::Utf8{header.rest});
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
        const char* const textEnd = lines_.Text().data() + lines_.Text().size();
        std::size_t read = 0;
        std::string_view line;
        while (read < length) {
            if (!lines_.Next(line)) {
                return false;
            }
            const std::ptrdiff_t added = ReadHexBytes(line, textEnd, length - read, bytes + read);
            if (added < 0) {
                return false;
            }
            read += static_cast<std::size_t>(added);
        }
        if (keep) {
            Keep<YIniFileDataBinary>(
                header, YIniFileDataBinary::Stored{std::span<const std::uint8_t>(bytes, length)});
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
            Keep<YIniFileDataStringSz>(header, YIniFileDataStringSz::Stored{lines, count});
        }
        return true;
    }

    LineReader lines_;
    IniValueTable& table_;
};

// copy: whether the table must copy the bytes, or keeps them already.
bool ReadValueText(std::string_view bytes, IniValueTable& table, bool copy) {
    // The text is cut where UTF-8 stops being valid before it is parsed, so the decoding of
    // names and texts below can never stop early.
    const TextMarks marks(bytes);
    const std::size_t valid =
        marks.IsAscii() ? bytes.size() : platform::FindValidUtf8(bytes).consumed;
    const std::string_view text =
        copy ? table.CopyBytes(bytes.substr(0, valid)) : bytes.substr(0, valid);
    table.BeginLoad();
    const bool readAll = ValueFileParser(text, marks, table).Run();
    table.EndLoad();
    return readAll && valid == bytes.size();
}

}  // namespace

bool ReadIniValueFile(std::string_view bytes, IniValueTable& table) {
    return ReadValueText(bytes, table, true);
}

bool ReadKeptIniValueFile(std::string_view keptBytes, IniValueTable& table) {
    return ReadValueText(keptBytes, table, false);
}

void ReadStoredTexts(std::string_view lines, std::uint32_t count, YStringArray& texts) {
    // The strings texts already holds are written over: a caller reading lists into one array
    // allocates once, not once per line.
    texts.resize(count);
    // A list's lines are few and short: looking for each line's end costs less than marking
    // every line end of the text first. A line ends at its LF, or at a CR before it.
    std::size_t position = 0;
    // The next LF, searched for again only once passed: lines that CR alone ends share one
    // search, so a long list of them is not searched to its end once per line.
    std::size_t newline = std::min(lines.find('\n'), lines.size());
    for (std::uint32_t i = 0; i < count && position < lines.size(); ++i) {
        if (newline < position) {
            newline = std::min(lines.find('\n', position), lines.size());
        }
        const std::size_t carriage = lines.substr(position, newline - position).find('\r');
        const std::size_t end = carriage == std::string_view::npos ? newline : position + carriage;
        const std::string_view line = lines.substr(position, end - position);
        const std::string_view utf8 = line.substr(std::min<std::size_t>(line.size(), 1));
        position = end + (lines.substr(end, 2) == "\r\n" ? 2 : 1);
        YUnicodeString& text = texts[i];
        text.resize(utf8.size());
        std::size_t written = 0;
        (void)platform::DecodeUtf8(utf8, text.data(), written, platform::IllFormed::Stop);
        text.resize(written);
    }
}

}  // namespace rivode::storage
