#include "platform/Utf8Codec.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rivode::platform {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Judges the sequence that starts with a non-ASCII byte at bytes[i]: its length, or 0 when it is
// ill-formed, or the bytes available (fewer than its length) when the bytes end inside it. The
// allowed range of the second byte alone rules out overlong forms, surrogates and code points
// above U+10FFFF, so an incomplete sequence can be judged as far as it goes.
std::size_t JudgeSequence(const unsigned char* bytes, std::size_t length, std::size_t i,
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

// Widens text into out (room for text.size() code units) when every byte is ASCII, as names and
// stored texts almost always are; false, with out holding anything, when one is not. They are
// tens of bytes long: the last 16 (or 8) bytes are widened as one load that overlaps the bytes
// widened before, so no byte is ever widened alone.
bool WidenAscii(std::string_view text, char16_t* out) {
    const std::size_t size = text.size();
#if defined(__SSE2__)
    const auto widen = [&](std::size_t at, bool sixteen) {
        const __m128i zero = _mm_setzero_si128();
        const auto* from = reinterpret_cast<const __m128i*>(text.data() + at);
        auto* to = reinterpret_cast<__m128i*>(out + at);
        if (!sixteen) {
            const __m128i bytes = _mm_loadl_epi64(from);
            _mm_storeu_si128(to, _mm_unpacklo_epi8(bytes, zero));
            return _mm_movemask_epi8(bytes);
        }
        const __m128i bytes = _mm_loadu_si128(from);
        _mm_storeu_si128(to, _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(to + 1, _mm_unpackhi_epi8(bytes, zero));
        return _mm_movemask_epi8(bytes);
    };
    if (size >= 16) {
        int high = 0;
        std::size_t i = 0;
        for (; i + 16 <= size; i += 16) {
            high |= widen(i, true);
        }
        if (i < size) {
            high |= widen(size - 16, true);
        }
        return high == 0;
    }
    if (size >= 8) {
        return (widen(0, false) | widen(size - 8, false)) == 0;
    }
#endif
    unsigned char seen = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        seen |= byte;
        out[i] = byte;
    }
    return seen < 0x80;
}

std::size_t SequenceLength(unsigned lead) {
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Stored text is almost all ASCII: runs of sixteen ASCII bytes are passed (and widened, when
// writing) without looking at each byte's class. One loop serves decoding and validation, so
// the two can never disagree about where the valid text ends.
template <bool kWrite>
Utf8DecodeResult Decode(std::string_view text, char16_t*& out, IllFormed illFormed) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    std::size_t i = 0;
    while (i < length) {
        while (i + 16 <= length) {
            std::uint64_t words[2];
            std::memcpy(words, bytes + i, sizeof words);
            if (((words[0] | words[1]) & kHighBits) != 0) {
                break;
            }
            if constexpr (kWrite) {
                for (std::size_t k = 0; k < 16; ++k) {
                    out[k] = bytes[i + k];
                }
                out += 16;
            }
            i += 16;
        }
        if (i == length) {
            break;
        }
        if (bytes[i] < 0x80) {
            if constexpr (kWrite) {
                *out++ = static_cast<char16_t>(bytes[i]);
            }
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const std::size_t judged = JudgeSequence(bytes, length, i, codePoint);
        if (judged == 0 || judged < SequenceLength(bytes[i])) {
            if (illFormed == IllFormed::Stop) {
                return {i, judged == 0};
            }
            if constexpr (kWrite) {
                *out++ = kReplacementCharacter;
            }
            ++i;
            continue;
        }
        if constexpr (kWrite) {
            out = PutUtf16(codePoint, out);
        }
        i += judged;
    }
    return {i, false};
}

}  // namespace

bool ReadUtf8CodePoint(std::string_view bytes, std::size_t& at, char32_t& codePoint) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (data[at] < 0x80) {
        codePoint = data[at++];
        return true;
    }
    const std::size_t judged = JudgeSequence(data, bytes.size(), at, codePoint);
    if (judged == 0 || judged < SequenceLength(data[at])) {
        return false;
    }
    at += judged;
    return true;
}

namespace {

// Kept out of DecodeUtf8: inlined there, its registers were saved and restored around every
// text, nearly all of which are ASCII and never come here.
[[gnu::noinline]] Utf8DecodeResult DecodeBeyondAscii(std::string_view bytes, char16_t* out,
                                                     std::size_t& written, IllFormed illFormed) {
    char16_t* next = out;
    const Utf8DecodeResult result = Decode<true>(bytes, next, illFormed);
    written = static_cast<std::size_t>(next - out);
    return result;
}

}  // namespace

Utf8DecodeResult DecodeUtf8(std::string_view bytes, char16_t* out, std::size_t& written,
                            IllFormed illFormed) {
    if (WidenAscii(bytes, out)) {
        written = bytes.size();
        return {bytes.size(), false};
    }
    return DecodeBeyondAscii(bytes, out, written, illFormed);
}

Utf8DecodeResult FindValidUtf8(std::string_view bytes) {
    char16_t* none = nullptr;
    return Decode<false>(bytes, none, IllFormed::Stop);
}

}  // namespace rivode::platform
