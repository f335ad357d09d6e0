// Comparing short runs of bytes (value names, the headers of value lines) without a call: the
// value table and the value-file reader compare one for nearly every value they handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace rivode::storage {

template <class Word>
std::uint64_t LoadWord(const char* bytes) {
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Names are compared as bytes, a word at a time with the last word overlapping the one before:
// the character-by-character comparison of u16string_view is several times slower, and a call
// to memcmp costs more than the comparison of a name tens of bytes long, which the index makes
// on every look-up and the reader on every name it reads.
// Inlined: a call costs as much as comparing a name.
[[gnu::always_inline]] inline bool SameBytes(const char* x, const char* y, std::size_t length) {
    const auto differ = [&](std::size_t at) {
        return LoadWord<std::uint64_t>(x + at) ^ LoadWord<std::uint64_t>(y + at);
    };
    if (length >= 8) {
        // Up to 32 bytes (almost every name) without a loop: words that may overlap.
        if (length <= 16) {
            return (differ(0) | differ(length - 8)) == 0;
        }
        if (length <= 32) {
            return (differ(0) | differ(8) | differ(length - 16) | differ(length - 8)) == 0;
        }
        std::uint64_t any = 0;
        std::size_t i = 0;
        for (; i + 8 < length; i += 8) {
            any |= differ(i);
        }
        return (any | differ(length - 8)) == 0;
    }
    if (length >= 4) {
        const std::uint64_t first = LoadWord<std::uint32_t>(x) ^ LoadWord<std::uint32_t>(y);
        const std::uint64_t last =
            LoadWord<std::uint32_t>(x + length - 4) ^ LoadWord<std::uint32_t>(y + length - 4);
        return (first | last) == 0;
    }
    if (length >= 2) {
        const std::uint64_t first = LoadWord<std::uint16_t>(x) ^ LoadWord<std::uint16_t>(y);
        const std::uint64_t last =
            LoadWord<std::uint16_t>(x + length - 2) ^ LoadWord<std::uint16_t>(y + length - 2);
        return (first | last) == 0;
    }
    return length == 0 || *x == *y;
}

// Names (UTF-16 or UTF-8) compared the same way.
[[gnu::always_inline]] inline bool SameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           SameBytes(reinterpret_cast<const char*>(a.data()),
                     reinterpret_cast<const char*>(b.data()), a.size() * sizeof(char16_t));
}

[[gnu::always_inline]] inline bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && SameBytes(a.data(), b.data(), a.size());
}

}  // namespace rivode::storage
