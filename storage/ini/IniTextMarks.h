// Where the bytes that end lines (LF, CR) lie in the text of a value file, as bits, found for
// the whole text in one pass: lines are tens of bytes long, and searching each one on its own
// cost more than the rest of the parsing. The same pass tells whether every byte is ASCII,
// which spares the text's validation as UTF-8.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace rivode::storage {

class TextMarks {
public:
    // How the text is compared: by the widest comparisons the processor has, or by those every
    // processor of its kind has. Both give the same marks; tests compare them.
    enum class Width { kWidest, kBaseline };

    explicit TextMarks(std::string_view text, Width width = Width::kWidest);

    bool IsAscii() const { return ascii_; }

    // The first line end at or after from and before limit (at most the text's size); limit
    // when none.
    std::size_t FindLineEnd(std::size_t from, std::size_t limit) const {
        if (from >= limit) {
            return limit;
        }
        std::size_t block = from / 64;
        std::uint64_t bits = lineEnds_[block] & (~std::uint64_t{0} << (from % 64));
        const std::size_t lastBlock = (limit - 1) / 64;
        while (bits == 0) {
            if (++block > lastBlock) {
                return limit;
            }
            bits = lineEnds_[block];
        }
        return std::min(block * 64 + static_cast<std::size_t>(std::countr_zero(bits)), limit);
    }

private:
    std::unique_ptr<std::uint64_t[]> lineEnds_;  // a word per 64-byte block
    bool ascii_ = false;
};

}  // namespace rivode::storage
