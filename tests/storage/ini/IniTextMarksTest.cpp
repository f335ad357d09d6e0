// The line ends of a value file's text, as the reader finds them.
#include "storage/ini/IniTextMarks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

using rivode::storage::TextMarks;

// Texts of every length around the blocks of 64 bytes and their parts of 16 and 32, with line
// ends, quotes and non-ASCII bytes anywhere: both widths find what a search byte by byte finds.
TEST(TextMarksTest, EveryWidthFindsWhatASearchFinds) {
    std::mt19937 random(7);
    const std::string alphabet = "a\n\r\" =\xc3\xa9";
    for (std::size_t length = 0; length <= 200; ++length) {
        for (const bool plain : {true, false}) {
            std::string text(length, 'a');
            if (!plain) {
                for (char& c : text) {
                    c = alphabet[random() % alphabet.size()];
                }
            }
            const bool ascii = std::all_of(text.begin(), text.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x80;
            });
            for (const TextMarks::Width width :
                 {TextMarks::Width::kWidest, TextMarks::Width::kBaseline}) {
                const TextMarks marks(text, width);
                ASSERT_EQ(marks.IsAscii(), ascii) << length;
                for (std::size_t from = 0; from <= length; ++from) {
                    const auto next = std::find_if(text.begin() + from, text.end(),
                                                   [](char c) { return c == '\n' || c == '\r'; });
                    ASSERT_EQ(marks.FindLineEnd(from, length),
                              static_cast<std::size_t>(next - text.begin()))
                        << length << " from " << from;
                }
            }
        }
    }
}

}  // namespace
