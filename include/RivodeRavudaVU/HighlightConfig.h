// Keyword highlighting: named, application-wide lists of words, phrases or regular expressions
// that the terminal highlights in received text. Each list is a key under "Keywords"; a session
// names its list in "Keyword Set".
//
// A list key holds:
//   "Keyword List V2"  multi-string: one keyword line a keyword, in list order
//   "Keyword List"     string: the older form, read only when the V2 value is absent
//   "Match Case"       boolean, default off
//   "Regex Line Mode"  boolean: on is "Phrases and substrings", off "Whole words"; default on for
//                      a list without stored keywords, off when either list value exists
//
// A keyword line is the keyword in double quotes, then the color and the regular-expression flag
// as eight lower-case hexadecimal digits each: "\"ERROR\",000000ff,00000000". The keyword runs
// from after the first character to the last double quote of the line, so a quote inside it
// stays part of it.
//
// The older "Keyword List" value holds plain keywords separated by ";", each optionally followed
// by "," and its color in hexadecimal (a number as the lines store it).
//
// A HighlightConfig is counted, made per use and used by one thread at a time.
#pragma once

#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YRefPtr.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

class QWidget;

inline constexpr std::u16string_view kKeywordsKeyName = u"Keywords";
// Plain keywords longer than this are refused by the editor and dropped at load; regular
// expressions longer than this pass the editor but are dropped at load too.
inline constexpr std::size_t kMaxKeywordLength = 256;
// The color of a line that gives none (red).
inline constexpr std::uint32_t kDefaultKeywordColor = 255;

struct KeywordLine {
    YUnicodeString keyword;
    std::uint32_t color = kDefaultKeywordColor;
    bool regularExpression = false;

    bool operator==(const KeywordLine&) const = default;
};

// nullopt for a line that does not begin with a double quote or has no closing one. A missing or
// unreadable color gives kDefaultKeywordColor; a missing flag, or one that is not a number, a
// plain keyword; any non-zero flag a regular expression.
std::optional<KeywordLine> ParseKeywordLine(std::u16string_view line);
YUnicodeString FormatKeywordLine(const KeywordLine& line);

// The shape a keyword must have for the match style. "Whole words" (lineMode off): no white
// space, and in a regular expression each of \s \t \n \v \r directly preceded by "/".
// "Phrases and substrings" (lineMode on): no line break (CR or LF).
bool CheckKeywordShape(std::u16string_view keyword, bool regularExpression, bool lineMode);

// One keyword of the matching list, as the terminal matches it.
struct HighlightEntry {
    YUnicodeString keyword;
    std::uint32_t color = kDefaultKeywordColor;
    bool regularExpression = false;
};

class IHighlightUI : public IYUnknown {
public:
    static constexpr YInterfaceId kInterfaceId{"IHighlightUI"};
    virtual const std::vector<HighlightEntry>& GetEntries() const = 0;
    virtual std::size_t GetRegularExpressionCount() const = 0;
    virtual bool GetMatchCase() const = 0;
    // true: "Phrases and substrings"; false: "Whole words".
    virtual bool GetRegexLineMode() const = 0;

protected:
    ~IHighlightUI() = default;
};

class HighlightConfig : public YUnknown<IHighlightUI> {
public:
    HighlightConfig();
    HighlightConfig(const HighlightConfig&) = delete;
    HighlightConfig& operator=(const HighlightConfig&) = delete;

    // Reads the list from key (a list of defaults without one) and builds the matching list,
    // dropping what does not parse, keywords over kMaxKeywordLength and keywords of the wrong
    // shape. An older "Keyword List" becomes lines, written by the next save.
    void Load(const YProfileKey* key);
    // Writes the lines, "Match Case" and "Regex Line Mode" (the older value is never written).
    [[nodiscard]] bool Save(const YProfileKey& key);

    const YStringArray& GetLines() const { return lines_.Get(); }
    // Replaces the lines and rebuilds the matching list (without the shape check: the editor
    // has checked each keyword already).
    void SetLines(const YStringArray& lines);
    void SetMatchCase(bool on);
    // Changing the style rebuilds the matching list.
    void SetRegexLineMode(bool on);

    // The lines as parsed, in order (for the editor's list).
    std::vector<KeywordLine> GetKeywordLines() const;

    // IHighlightUI.
    const std::vector<HighlightEntry>& GetEntries() const override { return entries_; }
    std::size_t GetRegularExpressionCount() const override { return regexCount_; }
    bool GetMatchCase() const override { return matchCase_.Get(); }
    bool GetRegexLineMode() const override { return regexLineMode_.Get(); }

protected:
    ~HighlightConfig() override;

private:
    void Build(bool validate);

    YProfileStringList lines_;
    YProfile<bool> matchCase_;
    YProfile<bool> regexLineMode_;
    std::vector<HighlightEntry> entries_;
    std::size_t regexCount_ = 0;
};

YRefPtr<HighlightConfig> CreateHighlightConfig();

// The editor's check of a keyword about to be added to list (IVerifyKeyword), in this order:
// the shape for the list's style (KeywordHasSpaces, or RegexHasSpaces for a regular
// expression); unless skipDuplicateCheck, a keyword of the same text and kind already in the
// list (KeywordAlreadyInList); a plain keyword over kMaxKeywordLength (KeywordTooLong). false
// with the message in report.
[[nodiscard]] bool VerifyKeyword(const HighlightConfig& list, const YUnicodeString& keyword,
                                 bool regularExpression, bool skipDuplicateCheck,
                                 YReportMessageParams& report);

// The session page's check before it closes: a session that names a keyword list
// (keywordSet not empty) must highlight it in at least one way (reverse video, bold or color);
// false with KeywordStyleRequired in report otherwise.
[[nodiscard]] bool ValidateKeywordHighlightStyle(const YUnicodeString& keywordSet,
                                                 bool reverseVideo, bool bold, bool color,
                                                 YReportMessageParams& report);

#pragma GCC visibility pop
