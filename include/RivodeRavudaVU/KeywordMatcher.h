// Finding the keywords of a list in terminal text: the spans a terminal highlights.
//
// Plain keywords: with "Match Case" off, letters compare by their simple upper case. In "Whole
// words" a keyword matches only where the characters around it are not word characters (letters,
// digits, "_" and every code unit above U+007F except blanks) at each end of the keyword that is
// itself a word character, so "error" matches in "ERROR: disk" but not in "errors". In
// "Phrases and substrings" a keyword matches anywhere.
//
// Regular expressions use the ECMAScript grammar of std::regex, case-insensitive while
// "Match Case" is off, and match within one line (text between line feeds). An expression that
// does not compile is skipped. Expressions run on the engine's automaton, whose time is bounded
// by the line's length times the expression's; those with back-references, which it cannot run,
// backtrack and are searched only in lines of up to 4096 code units.
//
// Spans never overlap: where matches overlap, the one starting first wins, then the longer, then
// the keyword earlier in the list. Offsets and lengths count UTF-16 code units of the text.
//
// A matcher is built once per list and is then read-only: one matcher serves several threads.
#pragma once

#include <RivodeRavudaVU/HighlightConfig.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

struct HighlightSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    std::uint32_t color = kDefaultKeywordColor;

    bool operator==(const HighlightSpan&) const = default;
};

class KeywordMatcher {
public:
    explicit KeywordMatcher(const IHighlightUI& list);
    ~KeywordMatcher();
    KeywordMatcher(const KeywordMatcher&) = delete;
    KeywordMatcher& operator=(const KeywordMatcher&) = delete;

    // The spans of text to highlight, by start.
    std::vector<HighlightSpan> Match(std::u16string_view text) const;

private:
    struct Compiled;
    std::unique_ptr<Compiled> compiled_;
};

#pragma GCC visibility pop
