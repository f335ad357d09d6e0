#include "storage/ini/IniTextMarks.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace rivode::storage {
namespace {

// A marker marks the line ends of 64 bytes at a time and ORs those bytes together, so that
// their high bits tell at the end whether any byte was not ASCII: one OR per load, where a mask
// of high bits per block cost as much as the line ends.
struct BaselineMarker {
#if defined(__SSE2__)
    std::uint64_t Mark(const char* bytes) {
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i cr = _mm_set1_epi8('\r');
        std::uint64_t lineEnds = 0;
        for (unsigned part = 0; part < 4; ++part) {
            const __m128i chunk =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + part * 16));
            const auto ends = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(chunk, lf), _mm_cmpeq_epi8(chunk, cr))));
            lineEnds |= std::uint64_t{ends} << (part * 16);
            seen = _mm_or_si128(seen, chunk);
        }
        return lineEnds;
    }
    bool AllAscii() const {
        return _mm_movemask_epi8(seen) == 0;
    }

    __m128i seen = _mm_setzero_si128();
#else
    std::uint64_t Mark(const char* bytes) {
        std::uint64_t lineEnds = 0;
        for (unsigned i = 0; i < 64; ++i) {
            lineEnds |= bytes[i] == '\n' || bytes[i] == '\r' ? std::uint64_t{1} << i : 0;
            seen |= static_cast<unsigned char>(bytes[i]);
        }
        return lineEnds;
    }
    bool AllAscii() const {
        return seen < 0x80;
    }

    unsigned char seen = 0;
#endif
};

// Marks the line ends of every block of text into lineEnds; true when every byte is ASCII.
template <class Marker>
bool MarkText(std::string_view text, std::uint64_t* lineEnds) {
    Marker marker;
    char last[64];
    for (std::size_t at = 0; at < text.size(); at += 64) {
        const char* bytes = text.data() + at;
        if (text.size() - at < 64) {
            // The end of the text, followed by bytes that mark nothing.
            std::memset(last, 0, sizeof last);
            std::memcpy(last, bytes, text.size() - at);
            bytes = last;
        }
        lineEnds[at / 64] = marker.Mark(bytes);
    }
    return marker.AllAscii();
}

#if defined(__x86_64__)
struct WideMarker {
    [[gnu::target("avx2")]] WideMarker() : seen(_mm256_setzero_si256()) {}
    [[gnu::target("avx2")]] std::uint64_t Mark(const char* bytes) {
        const __m256i lf = _mm256_set1_epi8('\n');
        const __m256i cr = _mm256_set1_epi8('\r');
        std::uint64_t lineEnds = 0;
        for (unsigned part = 0; part < 2; ++part) {
            const __m256i chunk =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + part * 32));
            const auto ends = static_cast<std::uint32_t>(_mm256_movemask_epi8(
                _mm256_or_si256(_mm256_cmpeq_epi8(chunk, lf), _mm256_cmpeq_epi8(chunk, cr))));
            lineEnds |= std::uint64_t{ends} << (part * 32);
            seen = _mm256_or_si256(seen, chunk);
        }
        return lineEnds;
    }
    [[gnu::target("avx2")]] bool AllAscii() const { return _mm256_movemask_epi8(seen) == 0; }

    __m256i seen;
};

// Flattened: the loop and the marker become one function of the wider instructions.
[[gnu::target("avx2"), gnu::flatten]] bool MarkTextWide(std::string_view text,
                                                        std::uint64_t* lineEnds) {
    return MarkText<WideMarker>(text, lineEnds);
}
#endif

}  // namespace

TextMarks::TextMarks(std::string_view text, Width width) {
    // Every word is written below: the block is not filled first.
    lineEnds_ = std::make_unique_for_overwrite<std::uint64_t[]>((text.size() + 63) / 64);
#if defined(__x86_64__)
    // Every byte of every file read is marked: where the processor compares 32 bytes at once,
    // it does.
    static const bool hasWide = __builtin_cpu_supports("avx2");
    if (hasWide && width == Width::kWidest) {
        ascii_ = MarkTextWide(text, lineEnds_.get());
        return;
    }
#else
    (void)width;
#endif
    ascii_ = MarkText<BaselineMarker>(text, lineEnds_.get());
}

}  // namespace rivode::storage
