// The library's one UTF-8 codec. Every layer that turns UTF-8 into UTF-16 or back comes here:
// the public ToUtf8/FromUtf8, secrets (ToSecureUtf8), the text-file codec and the value-file
// reader, the message compiler. What differs between callers is only what an ill-formed input
// does to them, and that is a parameter, not another decoder.
//
// Well-formed UTF-8 has no overlong forms, no surrogates and nothing above U+10FFFF; well-formed
// UTF-16 pairs its surrogates. Nothing here throws beyond allocation or reads past the bytes
// given. Thread-safe.
#pragma once

#include <cstddef>
#include <string_view>

#pragma GCC visibility push(default)

namespace rivode::platform {

inline constexpr char16_t kReplacementCharacter = 0xFFFD;

constexpr bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}
constexpr bool IsLeadSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsTrailSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// A byte that continues a multi-byte character and so starts none.
constexpr bool IsUtf8ContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// What an ill-formed input does.
enum class IllFormed {
    // Decoding stops at the first byte that starts no well-formed character, or at a character
    // the bytes end inside; encoding fails and leaves the output as it was.
    Stop,
    // Every byte that starts no well-formed character (each byte of a character the bytes end
    // inside included) and every unpaired surrogate becomes U+FFFD; the whole input is read.
    Replace,
};

struct Utf8DecodeResult {
    // Bytes turned into text: whole characters only (all of them with IllFormed::Replace).
    std::size_t consumed = 0;
    // The byte at `consumed` starts no well-formed character. When false and bytes remain,
    // they begin a character that the following bytes may complete.
    bool invalid = false;
};

// Reads one character starting at bytes[at] (at < bytes.size()): true, with its code point and
// at moved past it, when it is well-formed and whole; false, at unchanged, otherwise.
bool ReadUtf8CodePoint(std::string_view bytes, std::size_t& at, char32_t& codePoint);

// Decodes bytes into out, which has room for bytes.size() code units (UTF-16 never needs
// more); written is the number of units stored.
Utf8DecodeResult DecodeUtf8(std::string_view bytes, char16_t* out, std::size_t& written,
                            IllFormed illFormed);
// What DecodeUtf8(bytes, ..., IllFormed::Stop) would give, without decoding.
Utf8DecodeResult FindValidUtf8(std::string_view bytes);

// Stores a code point (below U+110000, not a surrogate) as one or two UTF-16 units; returns the
// position after them.
constexpr char16_t* PutUtf16(char32_t codePoint, char16_t* out) {
    if (codePoint < 0x10000) {
        *out++ = static_cast<char16_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (codePoint >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    }
    return out;
}

// Appends text in UTF-8 to out (a std::string, or a vector of char for secrets). With
// IllFormed::Stop an unpaired surrogate makes it return false with out as it was. The output
// grows once, by the longest encoding, and is cut back: a secret's buffer reserved for that
// many bytes is never reallocated.
template <class Out>
bool AppendUtf8(std::u16string_view text, Out& out, IllFormed illFormed) {
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
            if (IsLeadSurrogate(c) && i + 1 < text.size() && IsTrailSurrogate(text[i + 1])) {
                c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
            } else if (illFormed == IllFormed::Replace) {
                c = kReplacementCharacter;
            } else {
                out.resize(start);
                return false;
            }
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

}  // namespace rivode::platform

#pragma GCC visibility pop
