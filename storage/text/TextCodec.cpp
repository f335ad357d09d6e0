#include "storage/text/TextCodec.h"

#include "storage/text/CodePage1252.h"

#include <cstdint>
#include <cstring>

namespace rivode::storage {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

char16_t* PutCodePoint(char32_t codePoint, char16_t* out) {
    if (codePoint < 0x10000) {
        *out++ = static_cast<char16_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (codePoint >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    }
    return out;
}

// Judges the UTF-8 sequence that starts with a non-ASCII byte at bytes[i]: its length, or 0 when
// it is invalid, or the bytes available (fewer than its length) when the text ends inside it.
// The allowed range of the second byte alone rules out overlong forms, surrogates and code
// points above U+10FFFF, so an incomplete sequence can be judged as far as it goes.
std::size_t JudgeUtf8Sequence(const unsigned char* bytes, std::size_t length, std::size_t i,
                              char32_t& codePoint) {
    const unsigned lead = bytes[i];
    std::size_t sequenceLength;
    unsigned low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        sequenceLength = 2, codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        sequenceLength = 3, codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        sequenceLength = 4, codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    const std::size_t available = length - i < sequenceLength ? length - i : sequenceLength;
    for (std::size_t k = 1; k < available; ++k) {
        const unsigned next = bytes[i + k];
        if (next < low || next > high) {
            return 0;
        }
        low = 0x80, high = 0xBF;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return available;
}

std::size_t Utf8SequenceLength(unsigned lead) {
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Value files are almost all ASCII: runs of sixteen ASCII bytes are widened without looking at
// each byte's class.
TextDecodeResult DecodeUtf8(const unsigned char* bytes, std::size_t length, char16_t*& out) {
    std::size_t i = 0;
    while (i < length) {
        while (i + 16 <= length) {
            std::uint64_t words[2];
            std::memcpy(words, bytes + i, sizeof words);
            if (((words[0] | words[1]) & kHighBits) != 0) {
                break;
            }
            for (std::size_t k = 0; k < 16; ++k) {
                out[k] = bytes[i + k];
            }
            out += 16;
            i += 16;
        }
        if (i == length) {
            break;
        }
        if (bytes[i] < 0x80) {
            *out++ = static_cast<char16_t>(bytes[i]);
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const std::size_t judged = JudgeUtf8Sequence(bytes, length, i, codePoint);
        if (judged == 0) {
            return {i, true};
        }
        if (judged < Utf8SequenceLength(bytes[i])) {
            return {i, false};
        }
        out = PutCodePoint(codePoint, out);
        i += judged;
    }
    return {i, false};
}

TextDecodeResult DecodeUtf16(const unsigned char* bytes, std::size_t length, bool bigEndian,
                             char16_t*& out) {
    const auto unitAt = [&](std::size_t i) {
        return static_cast<char16_t>(bigEndian ? (bytes[i] << 8) | bytes[i + 1]
                                               : bytes[i] | (bytes[i + 1] << 8));
    };
    std::size_t i = 0;
    while (i + 2 <= length) {
        const char16_t unit = unitAt(i);
        if (!IsSurrogate(unit)) {
            *out++ = unit;
            i += 2;
            continue;
        }
        if (unit >= 0xDC00) {
            return {i, true};
        }
        if (i + 4 > length) {
            return {i, false};
        }
        const char16_t trail = unitAt(i + 2);
        if (trail < 0xDC00 || trail > 0xDFFF) {
            return {i, true};
        }
        *out++ = unit;
        *out++ = trail;
        i += 4;
    }
    return {i, false};
}

TextDecodeResult DecodeCodePage(const unsigned char* bytes, std::size_t length, char16_t*& out) {
    for (std::size_t i = 0; i < length; ++i) {
        out[i] = kCodePage1252ToUnicode[bytes[i]];
    }
    out += length;
    return {length, false};
}

bool EncodeUtf8(std::u16string_view text, std::string& out) {
    const std::size_t start = out.size();
    out.resize(start + text.size() * 3);
    char* next = out.data() + start;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            *next++ = static_cast<char>(c);
            continue;
        }
        if (IsSurrogate(c)) {
            if (c >= 0xDC00 || i + 1 == text.size() || text[i + 1] < 0xDC00 ||
                text[i + 1] > 0xDFFF) {
                out.resize(start);
                return false;
            }
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (c < 0x800) {
            *next++ = static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *next++ = static_cast<char>(0xE0 | (c >> 12));
            *next++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            *next++ = static_cast<char>(0xF0 | (c >> 18));
            *next++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *next++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *next++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
    return true;
}

void EncodeUtf16(std::u16string_view text, bool bigEndian, std::string& out) {
    const std::size_t start = out.size();
    out.resize(start + text.size() * 2);
    char* next = out.data() + start;
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        *next++ = bigEndian ? high : low;
        *next++ = bigEndian ? low : high;
    }
}

bool EncodeCodePage(std::u16string_view text, std::string& out) {
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* next = out.data() + start;
    for (const char16_t c : text) {
        unsigned char byte;
        if (!UnicodeToCodePage1252(c, byte)) {
            out.resize(start);
            return false;
        }
        *next++ = static_cast<char>(byte);
    }
    return true;
}

}  // namespace

TextDecodeResult FindValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    std::size_t i = 0;
    while (i < length) {
        for (; i + 16 <= length; i += 16) {
            std::uint64_t words[2];
            std::memcpy(words, bytes + i, sizeof words);
            if (((words[0] | words[1]) & kHighBits) != 0) {
                break;
            }
        }
        if (i == length) {
            break;
        }
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const std::size_t judged = JudgeUtf8Sequence(bytes, length, i, codePoint);
        if (judged == 0) {
            return {i, true};
        }
        if (judged < Utf8SequenceLength(bytes[i])) {
            return {i, false};
        }
        i += judged;
    }
    return {i, false};
}

TextDecodeResult DecodeText(YTextFile::Encoding encoding, std::string_view bytes, char16_t* out,
                            std::size_t& written) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    char16_t* next = out;
    TextDecodeResult result;
    switch (encoding) {
        case YTextFile::EncodingCodePage:
            result = DecodeCodePage(data, bytes.size(), next);
            break;
        case YTextFile::EncodingUtf8:
            result = DecodeUtf8(data, bytes.size(), next);
            break;
        case YTextFile::EncodingUtf16LE:
        case YTextFile::EncodingUtf16BE:
            result = DecodeUtf16(data, bytes.size(), encoding == YTextFile::EncodingUtf16BE, next);
            break;
        default:
            result = {0, !bytes.empty()};
            break;
    }
    written = static_cast<std::size_t>(next - out);
    return result;
}

TextDecodeResult DecodeText(YTextFile::Encoding encoding, std::string_view bytes,
                            YUnicodeString& out) {
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    std::size_t written = 0;
    const TextDecodeResult result = DecodeText(encoding, bytes, out.data() + start, written);
    out.resize(start + written);
    return result;
}

bool EncodeText(YTextFile::Encoding encoding, std::u16string_view text, std::string& out) {
    switch (encoding) {
        case YTextFile::EncodingCodePage:
            return EncodeCodePage(text, out);
        case YTextFile::EncodingUtf8:
            return EncodeUtf8(text, out);
        case YTextFile::EncodingUtf16LE:
        case YTextFile::EncodingUtf16BE:
            EncodeUtf16(text, encoding == YTextFile::EncodingUtf16BE, out);
            return true;
        default:
            return text.empty();
    }
}

std::string_view ByteOrderMark(YTextFile::Encoding encoding) {
    switch (encoding) {
        case YTextFile::EncodingUtf8:
            return "\xEF\xBB\xBF";
        case YTextFile::EncodingUtf16LE:
            return "\xFF\xFE";
        case YTextFile::EncodingUtf16BE:
            return "\xFE\xFF";
        default:
            return {};
    }
}

YTextFile::Encoding DetectByteOrderMark(std::string_view bytes, std::size_t& markLength) {
    for (const auto encoding :
         {YTextFile::EncodingUtf8, YTextFile::EncodingUtf16LE, YTextFile::EncodingUtf16BE}) {
        const std::string_view mark = ByteOrderMark(encoding);
        if (bytes.substr(0, mark.size()) == mark) {
            markLength = mark.size();
            return encoding;
        }
    }
    markLength = 0;
    return YTextFile::EncodingCodePage;
}

}  // namespace rivode::storage
