#include <RivodeRavudaVU/KeywordMatcher.h>

#include <algorithm>
#include <regex>
#include <unordered_map>

namespace {

bool IsWordCharacter(char16_t c) {
    if (c < 0x80) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
               c == u'_';
    }
    return c != 0x00A0 && c != 0x3000 && !(c >= 0x2000 && c <= 0x200B);
}

struct PlainKeyword {
    YUnicodeString folded;
    std::uint32_t color;
    std::size_t order;
    bool wordAtStart;
    bool wordAtEnd;
};

struct RegexKeyword {
    std::wregex expression;
    std::uint32_t color;
    std::size_t order;
};

struct Candidate {
    HighlightSpan span;
    std::size_t order;
};

}  // namespace

struct KeywordMatcher::Compiled {
    bool matchCase = false;
    bool wholeWords = false;
    // Plain keywords by their first (folded) code unit, longest first, then in list order.
    std::unordered_map<char16_t, std::vector<PlainKeyword>> plain;
    std::vector<RegexKeyword> regexes;

    char16_t Fold(char16_t c) const { return matchCase ? c : rivode::ToUpperSimple(c); }

    // The longest plain keyword at position i of text (already folded), if any.
    const PlainKeyword* PlainAt(std::u16string_view text, std::u16string_view folded,
                                std::size_t i) const {
        const auto bucket = plain.find(folded[i]);
        if (bucket == plain.end()) {
            return nullptr;
        }
        for (const PlainKeyword& keyword : bucket->second) {
            const std::size_t end = i + keyword.folded.size();
            if (end > folded.size() ||
                folded.compare(i, keyword.folded.size(), keyword.folded) != 0) {
                continue;
            }
            if (wholeWords &&
                ((keyword.wordAtStart && i > 0 && IsWordCharacter(text[i - 1])) ||
                 (keyword.wordAtEnd && end < text.size() && IsWordCharacter(text[end])))) {
                continue;
            }
            return &keyword;
        }
        return nullptr;
    }
};

KeywordMatcher::KeywordMatcher(const IHighlightUI& list) : compiled_(std::make_unique<Compiled>()) {
    compiled_->matchCase = list.GetMatchCase();
    compiled_->wholeWords = !list.GetRegexLineMode();
    const auto& entries = list.GetEntries();
    for (std::size_t order = 0; order < entries.size(); ++order) {
        const HighlightEntry& entry = entries[order];
        if (entry.keyword.empty()) {
            continue;
        }
        if (!entry.regularExpression) {
            YUnicodeString folded = entry.keyword;
            for (char16_t& c : folded) {
                c = compiled_->Fold(c);
            }
            compiled_->plain[folded[0]].push_back({folded, entry.color, order,
                                                   IsWordCharacter(entry.keyword.front()),
                                                   IsWordCharacter(entry.keyword.back())});
            continue;
        }
        auto flags = std::regex_constants::ECMAScript;
        if (!compiled_->matchCase) {
            flags |= std::regex_constants::icase;
        }
        try {
            compiled_->regexes.push_back(
                {std::wregex(std::wstring(entry.keyword.begin(), entry.keyword.end()), flags),
                 entry.color, order});
        } catch (const std::regex_error&) {
            // An expression the engine cannot compile highlights nothing.
        }
    }
    for (auto& [first, keywords] : compiled_->plain) {
        std::stable_sort(keywords.begin(), keywords.end(), [](const auto& a, const auto& b) {
            return a.folded.size() > b.folded.size();
        });
    }
}

KeywordMatcher::~KeywordMatcher() = default;

std::vector<HighlightSpan> KeywordMatcher::Match(std::u16string_view text) const {
    std::vector<Candidate> candidates;
    if (!compiled_->plain.empty()) {
        YUnicodeString folded(text);
        for (char16_t& c : folded) {
            c = compiled_->Fold(c);
        }
        for (std::size_t i = 0; i < text.size();) {
            const PlainKeyword* keyword = compiled_->PlainAt(text, folded, i);
            if (keyword == nullptr) {
                ++i;
                continue;
            }
            candidates.push_back({{i, keyword->folded.size(), keyword->color}, keyword->order});
            i += keyword->folded.size();
        }
    }
    // Each line is searched on its own: a terminal highlights within a line.
    for (std::size_t lineStart = 0; !compiled_->regexes.empty() && lineStart < text.size();) {
        const std::size_t lineEnd = std::min(text.find(u'\n', lineStart), text.size());
        const std::wstring line(text.begin() + static_cast<std::ptrdiff_t>(lineStart),
                                text.begin() + static_cast<std::ptrdiff_t>(lineEnd));
        for (const RegexKeyword& regex : compiled_->regexes) {
            try {
                for (auto it = std::wsregex_iterator(line.begin(), line.end(), regex.expression);
                     it != std::wsregex_iterator(); ++it) {
                    if (it->length(0) > 0) {
                        candidates.push_back({{lineStart + static_cast<std::size_t>(it->position(0)),
                                               static_cast<std::size_t>(it->length(0)),
                                               regex.color},
                                              regex.order});
                    }
                }
            } catch (const std::regex_error&) {
                // Too complex for this line: the expression highlights nothing more in it.
            }
        }
        lineStart = lineEnd + 1;
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.span.start != b.span.start) {
            return a.span.start < b.span.start;
        }
        if (a.span.length != b.span.length) {
            return a.span.length > b.span.length;
        }
        return a.order < b.order;
    });
    std::vector<HighlightSpan> spans;
    std::size_t covered = 0;
    for (const Candidate& candidate : candidates) {
        if (candidate.span.start >= covered) {
            spans.push_back(candidate.span);
            covered = candidate.span.start + candidate.span.length;
        }
    }
    return spans;
}
