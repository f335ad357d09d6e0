#include <RivodeRavudaVU/KeywordMatcher.h>

#include <algorithm>
#include <bitset>
#include <optional>
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
    // The backtracking search: it may take exponential time on some expressions and recurses
    // once per character it consumes. Used only for expressions the automaton cannot run
    // (back-references), and then only in lines up to kMaxRecursiveLine.
    std::wregex recursive;
    // The automaton search: time bounded by the line times the expression, and no stack in
    // proportion to the line, so a user's expression can neither hang the terminal nor
    // overflow its stack.
    std::optional<std::wregex> automaton;
    std::uint32_t color;
    std::size_t order;
    // Text every match begins with (folded as the plain keywords are); empty when the
    // expression does not begin with a fixed text. Only places where it occurs are searched.
    YUnicodeString prefix;
    // Otherwise, when the expression begins with a simple bracket of ASCII characters: the
    // characters a match can begin with (folded). Only places holding one of them are searched.
    std::optional<std::bitset<128>> firstCharacters;

    const std::wregex* For(std::size_t lineLength) const {
        if (automaton) {
            return &*automaton;
        }
        return lineLength <= kMaxRecursiveLine ? &recursive : nullptr;
    }
    static constexpr std::size_t kMaxRecursiveLine = 4096;
};

// The ASCII letters, digits and punctuation an expression begins with literally, which every
// match must therefore begin with; empty when it begins otherwise, or holds an alternation
// (whose other branch could begin with anything). A quantifier after the last of them makes it
// optional, so it is left out.
YUnicodeString LiteralPrefix(std::u16string_view pattern) {
    if (pattern.find(u'|') != std::u16string_view::npos) {
        return {};
    }
    constexpr std::u16string_view kSpecial = u"\\.[]()*+?{}|^$";
    std::size_t length = 0;
    while (length < pattern.size() && pattern[length] < 0x7F && pattern[length] > 0x20 &&
           kSpecial.find(pattern[length]) == std::u16string_view::npos) {
        ++length;
    }
    if (length < pattern.size() && length > 0 &&
        std::u16string_view(u"*?{").find(pattern[length]) != std::u16string_view::npos) {
        --length;
    }
    return YUnicodeString(pattern.substr(0, length));
}

// The characters of a leading bracket such as "[A-Z0-9_]"; nullopt for anything else (a
// negated bracket, escapes, classes, characters beyond ASCII, an alternation) or when a
// quantifier may skip the bracket.
std::optional<std::bitset<128>> FirstCharacters(std::u16string_view pattern) {
    if (pattern.size() < 3 || pattern[0] != u'[' || pattern[1] == u'^' ||
        pattern.find(u'|') != std::u16string_view::npos) {
        return std::nullopt;
    }
    std::bitset<128> set;
    std::size_t i = 1;
    for (; i < pattern.size() && pattern[i] != u']'; ++i) {
        const char16_t c = pattern[i];
        if (c >= 0x7F || c == u'\\' || c == u'[') {
            return std::nullopt;
        }
        if (i + 2 < pattern.size() && pattern[i + 1] == u'-' && pattern[i + 2] != u']') {
            const char16_t last = pattern[i + 2];
            if (last >= 0x7F || last == u'\\' || last < c) {
                return std::nullopt;
            }
            for (char16_t k = c; k <= last; ++k) {
                set.set(k);
            }
            i += 2;
        } else {
            set.set(c);
        }
    }
    if (i >= pattern.size() || set.none() ||
        (i + 1 < pattern.size() &&
         std::u16string_view(u"*?{").find(pattern[i + 1]) != std::u16string_view::npos)) {
        return std::nullopt;
    }
    return set;
}

// nullopt for an expression that does not compile: it highlights nothing.
std::optional<RegexKeyword> Compile(const YUnicodeString& keyword,
                                    std::regex_constants::syntax_option_type flags,
                                    std::uint32_t color, std::size_t order) {
    const std::wstring pattern(keyword.begin(), keyword.end());
    try {
        RegexKeyword compiled{std::wregex(pattern, flags), std::nullopt, color, order,
                              LiteralPrefix(keyword),      std::nullopt};
        if (compiled.prefix.empty()) {
            compiled.firstCharacters = FirstCharacters(keyword);
        }
        try {
            compiled.automaton.emplace(pattern, flags | std::regex_constants::__polynomial);
        } catch (const std::regex_error&) {
        }
        return compiled;
    } catch (const std::regex_error&) {
        return std::nullopt;
    }
}

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
        if (std::optional<RegexKeyword> expression =
                Compile(entry.keyword, flags, entry.color, order)) {
            for (char16_t& c : expression->prefix) {
                c = compiled_->Fold(c);
            }
            if (expression->firstCharacters && !compiled_->matchCase) {
                std::bitset<128> folded;
                for (char16_t c = 0; c < 128; ++c) {
                    if ((*expression->firstCharacters)[c]) {
                        folded.set(compiled_->Fold(c));
                    }
                }
                expression->firstCharacters = folded;
            }
            compiled_->regexes.push_back(std::move(*expression));
        }
    }
    for (auto& [first, keywords] : compiled_->plain) {
        std::stable_sort(keywords.begin(), keywords.end(), [](const auto& a, const auto& b) {
            return a.folded.size() > b.folded.size();
        });
    }
}

KeywordMatcher::~KeywordMatcher() = default;

namespace {

void AddMatch(const RegexKeyword& regex, std::size_t lineStart, std::size_t position,
              std::size_t length, std::vector<Candidate>& candidates) {
    candidates.push_back({{lineStart + position, length, regex.color}, regex.order});
}

// Every match of expression in line. With a fixed beginning (or first characters) only the places
// where it occurs are tried, each as a match that must start there: the leftmost match starts at
// one of them.
void SearchLine(const RegexKeyword& regex, const std::wregex& expression, const std::wstring& line,
                std::u16string_view foldedLine, std::size_t lineStart,
                std::vector<Candidate>& candidates) {
    try {
        if (regex.prefix.empty() && !regex.firstCharacters) {
            for (auto it = std::wsregex_iterator(line.begin(), line.end(), expression);
                 it != std::wsregex_iterator(); ++it) {
                if (it->length(0) > 0) {
                    AddMatch(regex, lineStart, static_cast<std::size_t>(it->position(0)),
                             static_cast<std::size_t>(it->length(0)), candidates);
                }
            }
            return;
        }
        const auto next = [&](std::size_t from) {
            if (!regex.prefix.empty()) {
                return foldedLine.find(regex.prefix, from);
            }
            for (; from < foldedLine.size(); ++from) {
                const char16_t c = foldedLine[from];
                if (c < 128 && (*regex.firstCharacters)[c]) {
                    return from;
                }
            }
            return std::u16string_view::npos;
        };
        for (std::size_t at = next(0); at != std::u16string_view::npos; at = next(at)) {
            std::wsmatch match;
            auto flags = std::regex_constants::match_continuous;
            if (at > 0) {
                flags |= std::regex_constants::match_prev_avail;
            }
            const auto begin = line.begin() + static_cast<std::ptrdiff_t>(at);
            if (std::regex_search(begin, line.end(), match, expression, flags) &&
                match.length(0) > 0) {
                AddMatch(regex, lineStart, at, static_cast<std::size_t>(match.length(0)),
                         candidates);
                at += static_cast<std::size_t>(match.length(0));
            } else {
                ++at;
            }
        }
    } catch (const std::regex_error&) {
        // Too complex for this line: the expression highlights nothing more in it.
    }
}

}  // namespace

std::vector<HighlightSpan> KeywordMatcher::Match(std::u16string_view text) const {
    std::vector<Candidate> candidates;
    YUnicodeString folded(text);
    for (char16_t& c : folded) {
        c = compiled_->Fold(c);
    }
    for (std::size_t i = 0; !compiled_->plain.empty() && i < text.size();) {
        const PlainKeyword* keyword = compiled_->PlainAt(text, folded, i);
        if (keyword == nullptr) {
            ++i;
            continue;
        }
        candidates.push_back({{i, keyword->folded.size(), keyword->color}, keyword->order});
        i += keyword->folded.size();
    }
    // Each line is searched on its own: a terminal highlights within a line.
    for (std::size_t lineStart = 0; !compiled_->regexes.empty() && lineStart < text.size();) {
        const std::size_t lineEnd = std::min(text.find(u'\n', lineStart), text.size());
        const std::wstring line(text.begin() + static_cast<std::ptrdiff_t>(lineStart),
                                text.begin() + static_cast<std::ptrdiff_t>(lineEnd));
        const std::u16string_view foldedLine =
            std::u16string_view(folded).substr(lineStart, lineEnd - lineStart);
        for (const RegexKeyword& regex : compiled_->regexes) {
            if (const std::wregex* expression = regex.For(line.size())) {
                SearchLine(regex, *expression, line, foldedLine, lineStart, candidates);
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
