#include <RivodeRavudaVU/HexDigits.h>
#include <RivodeRavudaVU/HighlightConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <algorithm>
#include <charconv>

namespace {

constexpr std::u16string_view kLinesValueName = u"Keyword List V2";
constexpr std::u16string_view kOlderListValueName = u"Keyword List";
constexpr std::u16string_view kMatchCaseValueName = u"Match Case";
constexpr std::u16string_view kLineModeValueName = u"Regex Line Mode";

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' ||
           c == 0x00A0 || c == 0x3000;
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::uint32_t> ParseHex(std::u16string_view text) {
    text = Trim(text);
    std::string digits;
    for (const char16_t c : text) {
        if (c > 0x7F) {
            return std::nullopt;
        }
        digits.push_back(static_cast<char>(c));
    }
    std::uint32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, 16);
    if (digits.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

YUnicodeString Hex8(std::uint32_t value) {
    YUnicodeString text(8, u'0');
    for (int i = 7; i >= 0; --i, value >>= 4) {
        text[static_cast<std::size_t>(i)] = static_cast<char16_t>(rivode::HexDigit(value, false));
    }
    return text;
}

// The older single-string list: plain keywords separated by ";", each with an optional
// ",color".
YStringArray ConvertOlderList(std::u16string_view text) {
    YStringArray lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(u';'), text.size());
        const std::u16string_view entry = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t comma = entry.rfind(u',');
        KeywordLine line;
        line.keyword = YUnicodeString(Trim(entry.substr(0, comma)));
        if (comma != std::u16string_view::npos) {
            line.color = ParseHex(entry.substr(comma + 1)).value_or(kDefaultKeywordColor);
        }
        if (!line.keyword.empty()) {
            lines.push_back(FormatKeywordLine(line));
        }
    }
    return lines;
}

}  // namespace

std::optional<KeywordLine> ParseKeywordLine(std::u16string_view line) {
    const std::size_t close = line.rfind(u'"');
    if (line.empty() || line.front() != u'"' || close == 0 || close == std::u16string_view::npos) {
        return std::nullopt;
    }
    KeywordLine parsed;
    parsed.keyword = YUnicodeString(line.substr(1, close - 1));
    // The rest splits at commas; the first field (before the first comma) carries nothing.
    std::vector<std::u16string_view> fields;
    std::u16string_view rest = line.substr(close + 1);
    for (std::size_t comma; (comma = rest.find(u',')) != std::u16string_view::npos;) {
        fields.push_back(rest.substr(0, comma));
        rest.remove_prefix(comma + 1);
    }
    fields.push_back(rest);
    if (fields.size() > 1) {
        parsed.color = ParseHex(fields[1]).value_or(kDefaultKeywordColor);
    }
    if (fields.size() > 2) {
        parsed.regularExpression = ParseHex(fields[2]).value_or(0) != 0;
    }
    return parsed;
}

YUnicodeString FormatKeywordLine(const KeywordLine& line) {
    return u"\"" + line.keyword + u"\"," + Hex8(line.color) + u"," +
           Hex8(line.regularExpression ? 1 : 0);
}

bool CheckKeywordShape(std::u16string_view keyword, bool regularExpression, bool lineMode) {
    if (lineMode) {
        return keyword.find_first_of(u"\r\n") == std::u16string_view::npos;
    }
    if (std::any_of(keyword.begin(), keyword.end(), IsBlank)) {
        return false;
    }
    if (!regularExpression) {
        return true;
    }
    // A white-space class written into the expression would match across words.
    for (std::size_t i = 0; i + 1 < keyword.size(); ++i) {
        if (keyword[i] == u'\\' &&
            std::u16string_view(u"stnvr").find(keyword[i + 1]) != std::u16string_view::npos &&
            (i == 0 || keyword[i - 1] != u'/')) {
            return false;
        }
        if (keyword[i] == u'\\') {
            ++i;
        }
    }
    return true;
}

HighlightConfig::HighlightConfig() {
    Load(nullptr);
}

HighlightConfig::~HighlightConfig() = default;

YRefPtr<HighlightConfig> CreateHighlightConfig() {
    return MakeYRef<HighlightConfig>();
}

void HighlightConfig::Load(const YProfileKey* key) {
    lines_.Init(key, YUnicodeString(kLinesValueName), {});
    YUnicodeString older;
    const bool hadOlder =
        key != nullptr && !lines_.IsFromStore() && key->GetString(kOlderListValueName, older);
    if (hadOlder) {
        // Pending, so the next save writes the lines in the current form.
        lines_.Init(nullptr, YUnicodeString(kLinesValueName), ConvertOlderList(older));
    }
    matchCase_.Init(key, YUnicodeString(kMatchCaseValueName), false);
    const bool stored = lines_.IsFromStore() || hadOlder;
    regexLineMode_.Init(key, YUnicodeString(kLineModeValueName), !stored);
    Build(true);
}

bool HighlightConfig::Save(const YProfileKey& key) {
    bool saved = lines_.Save(key);
    saved = matchCase_.Save(key) && saved;
    return regexLineMode_.Save(key) && saved;
}

void HighlightConfig::SetLines(const YStringArray& lines) {
    lines_ = lines;
    Build(false);
}

void HighlightConfig::SetMatchCase(bool on) {
    matchCase_ = on;
    Build(false);
}

void HighlightConfig::SetRegexLineMode(bool on) {
    regexLineMode_ = on;
    Build(false);
}

std::vector<KeywordLine> HighlightConfig::GetKeywordLines() const {
    std::vector<KeywordLine> lines;
    for (const YUnicodeString& text : lines_.Get()) {
        if (std::optional<KeywordLine> line = ParseKeywordLine(text)) {
            lines.push_back(std::move(*line));
        }
    }
    return lines;
}

void HighlightConfig::Build(bool validate) {
    entries_.clear();
    regexCount_ = 0;
    const bool lineMode = regexLineMode_.Get();
    for (KeywordLine& line : GetKeywordLines()) {
        if (line.keyword.size() > kMaxKeywordLength ||
            (validate && !CheckKeywordShape(line.keyword, line.regularExpression, lineMode))) {
            continue;
        }
        YUnicodeString keyword = lineMode ? line.keyword : YUnicodeString(Trim(line.keyword));
        if (!matchCase_.Get() && !line.regularExpression && !lineMode) {
            keyword = rivode::ToLowerSimple(keyword);
        }
        if (keyword.empty()) {
            continue;
        }
        entries_.push_back({std::move(keyword), line.color, line.regularExpression});
        regexCount_ += line.regularExpression ? 1 : 0;
    }
}

bool VerifyKeyword(const HighlightConfig& list, const YUnicodeString& keyword,
                   bool regularExpression, bool skipDuplicateCheck, YReportMessageParams& report) {
    if (!CheckKeywordShape(keyword, regularExpression, list.GetRegexLineMode())) {
        report.SetMessage(regularExpression ? rivode::msg::RegexHasSpaces
                                            : rivode::msg::KeywordHasSpaces);
        report.AddString(keyword);
        return false;
    }
    if (!skipDuplicateCheck) {
        for (const KeywordLine& line : list.GetKeywordLines()) {
            if (line.keyword == keyword && line.regularExpression == regularExpression) {
                report.SetMessage(rivode::msg::KeywordAlreadyInList);
                report.AddString(keyword);
                return false;
            }
        }
    }
    if (!regularExpression && keyword.size() > kMaxKeywordLength) {
        report.SetMessage(rivode::msg::KeywordTooLong);
        report.AddFormatted(u"%1!u!", static_cast<std::uint32_t>(kMaxKeywordLength));
        return false;
    }
    return true;
}

bool ValidateKeywordHighlightStyle(const YUnicodeString& keywordSet, bool reverseVideo, bool bold,
                                   bool color, YReportMessageParams& report) {
    if (keywordSet.empty() || reverseVideo || bold || color) {
        return true;
    }
    report.SetMessage(rivode::msg::KeywordStyleRequired);
    return false;
}
