#include "storage/text/TextCodec.h"

#include "storage/text/CodePage1252.h"

#include "platform/Utf8Codec.h"

namespace rivode::storage {
namespace {

using platform::IsSurrogate;
using platform::IsTrailSurrogate;

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
        if (IsTrailSurrogate(unit)) {
            return {i, true};
        }
        if (i + 4 > length) {
            return {i, false};
        }
        const char16_t trail = unitAt(i + 2);
        if (!IsTrailSurrogate(trail)) {
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
            result = platform::DecodeUtf8(bytes, next, written, platform::IllFormed::Stop);
            next += written;
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
            return platform::AppendUtf8(text, out, platform::IllFormed::Stop);
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
