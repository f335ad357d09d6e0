#include <RivodeRavudaVU/RivodeMessages.h>

#include <DavaraZE/YFileFilters.h>
#include <DavaraZE/YMessageStrings.h>

namespace {

bool IsPatternSeparator(char16_t c) {
    return c == u';' || c == u' ' || c == u'\t';
}

YStringArray SplitPatterns(std::u16string_view text) {
    YStringArray patterns;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsPatternSeparator(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !IsPatternSeparator(text[i])) {
            ++i;
        }
        if (i > start) {
            patterns.emplace_back(text.substr(start, i - start));
        }
    }
    return patterns;
}

YUnicodeString Joined(const YStringArray& patterns) {
    YUnicodeString text;
    for (const YUnicodeString& pattern : patterns) {
        if (!text.empty()) {
            text.push_back(u' ');
        }
        text += pattern;
    }
    return text;
}

bool EndsWithPatternList(std::u16string_view name) {
    while (!name.empty() && name.back() == u' ') {
        name.remove_suffix(1);
    }
    return !name.empty() && name.back() == u')' && name.find(u'(') != std::u16string_view::npos;
}

// Qt separates filters with ";;", so a label must not contain one.
void ReplaceFilterSeparators(YUnicodeString& name) {
    for (std::size_t at = name.find(u";;"); at != YUnicodeString::npos; at = name.find(u";;", at)) {
        name.replace(at, 2, u"; ");
    }
}

}  // namespace

void YAppendFileFilter(YFileFilterList& filters, const YUnicodeString& name,
                       std::u16string_view patterns) {
    YFileFilter filter;
    filter.patterns = SplitPatterns(patterns);
    for (YUnicodeString& pattern : filter.patterns) {
        if (pattern == u"*.*") {
            pattern = u"*";
        }
    }
    if (filter.patterns.empty()) {
        filter.patterns.push_back(u"*");
    }
    const YUnicodeString shown = Joined(filter.patterns);
    filter.name = name;
    if (const std::size_t insert = filter.name.find(u"%1"); insert != YUnicodeString::npos) {
        filter.name.replace(insert, 2, shown);
    } else if (!EndsWithPatternList(filter.name)) {
        filter.name += (filter.name.empty() ? u"(" : u" (") + shown + u")";
    }
    ReplaceFilterSeparators(filter.name);
    filters.push_back(std::move(filter));
}

void YAppendAllFilesFilter(YFileFilterList& filters) {
    YAppendFileFilter(filters, YLoadMessageString(rivode::msg::AllFilesFilter, u"All Files (%1)"),
                      u"*");
}

YUnicodeString YGetFileFilters(const YFileFilterList& filters) {
    YUnicodeString text;
    for (const YFileFilter& filter : filters) {
        if (!text.empty()) {
            text += u";;";
        }
        text += filter.name;
    }
    return text;
}

YStringArray YGetFilterPatterns(std::u16string_view filter) {
    const std::size_t close = filter.rfind(u')');
    if (close == std::u16string_view::npos) {
        return {};
    }
    const std::size_t open = filter.rfind(u'(', close);
    if (open == std::u16string_view::npos) {
        return {};
    }
    return SplitPatterns(filter.substr(open + 1, close - open - 1));
}
