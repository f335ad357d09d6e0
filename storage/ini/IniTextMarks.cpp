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

// Each marker marks the 64 bytes at bytes into lineEnds and quotes, and returns a word with a
// bit set for each byte that is not ASCII (zero when all are).
struct BaselineMarker {
    static std::uint64_t Mark(const char* bytes, std::uint64_t& lineEnds, std::uint64_t& quotes) {
        std::uint64_t high = 0;
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i quote = _mm_set1_epi8('"');
        for (unsigned part = 0; part < 4; ++part) {
            const __m128i chunk =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + part * 16));
            const auto bits = [](__m128i matches) {
                return static_cast<std::uint64_t>(
                    static_cast<unsigned>(_mm_movemask_epi8(matches)));
            };
            lineEnds |= bits(_mm_or_si128(_mm_cmpeq_epi8(chunk, lf), _mm_cmpeq_epi8(chunk, cr)))
                        << (part * 16);
            quotes |= bits(_mm_cmpeq_epi8(chunk, quote)) << (part * 16);
            high |= bits(chunk) << (part * 16);
        }
#else
        for (unsigned i = 0; i < 64; ++i) {
            const std::uint64_t bit = std::uint64_t{1} << i;
            lineEnds |= bytes[i] == '\n' || bytes[i] == '\r' ? bit : 0;
            quotes |= bytes[i] == '"' ? bit : 0;
            high |= static_cast<unsigned char>(bytes[i]) >= 0x80 ? bit : 0;
        }
#endif
        return high;
    }
};

// Marks every block of text into marks; returns the non-ASCII bits of all blocks together.
template <class Marker>
std::uint64_t MarkText(std::string_view text, std::uint64_t* marks) {
    std::uint64_t high = 0;
    char last[64];
    for (std::size_t at = 0; at < text.size(); at += 64) {
        const char* bytes = text.data() + at;
        if (text.size() - at < 64) {
            // The end of the text, followed by bytes that mark nothing.
            std::memset(last, 0, sizeof last);
            std::memcpy(last, bytes, text.size() - at);
            bytes = last;
        }
        std::uint64_t lineEnds = 0;
        std::uint64_t quotes = 0;
        high |= Marker::Mark(bytes, lineEnds, quotes);
        marks[at / 64 * 2 + TextMarks::kLineEnd] = lineEnds;
        marks[at / 64 * 2 + TextMarks::kQuote] = quotes;
    }
    return high;
}

#if defined(__x86_64__)
struct WideMarker {
    [[gnu::target("avx2")]] static std::uint64_t Mark(const char* bytes, std::uint64_t& lineEnds,
                                                      std::uint64_t& quotes) {
        const __m256i lf = _mm256_set1_epi8('\n');
        const __m256i cr = _mm256_set1_epi8('\r');
        const __m256i quote = _mm256_set1_epi8('"');
        std::uint64_t high = 0;
        for (unsigned part = 0; part < 2; ++part) {
            const __m256i chunk =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + part * 32));
            const unsigned shift = part * 32;
            const auto bits = [](int mask) {
                return std::uint64_t{static_cast<std::uint32_t>(mask)};
            };
            lineEnds |= bits(_mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(chunk, lf),
                                                                  _mm256_cmpeq_epi8(chunk, cr))))
                        << shift;
            quotes |= bits(_mm256_movemask_epi8(_mm256_cmpeq_epi8(chunk, quote))) << shift;
            high |= bits(_mm256_movemask_epi8(chunk)) << shift;
        }
        return high;
    }
};

// Flattened: the loop and the marker become one function of the wider instructions.
[[gnu::target("avx2"), gnu::flatten]] std::uint64_t MarkTextWide(std::string_view text,
                                                                 std::uint64_t* marks) {
    return MarkText<WideMarker>(text, marks);
}
#endif

}  // namespace

TextMarks::TextMarks(std::string_view text, Width width) {
    // Every word is written below: the block is not filled first.
    marks_ = std::make_unique_for_overwrite<std::uint64_t[]>((text.size() + 63) / 64 * 2);
#if defined(__x86_64__)
    // Every byte of every file read is marked: where the processor compares 32 bytes at once,
    // it does.
    static const bool hasWide = __builtin_cpu_supports("avx2");
    if (hasWide && width == Width::kWidest) {
        ascii_ = MarkTextWide(text, marks_.get()) == 0;
        return;
    }
#else
    (void)width;
#endif
    ascii_ = MarkText<BaselineMarker>(text, marks_.get()) == 0;
}

}  // namespace rivode::storage
