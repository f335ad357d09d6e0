#include "products/DesktopEntry.h"

#include <algorithm>

namespace {

constexpr std::string_view kDefaultGroup = "[Default Applications]";

// The escapes every string value of a desktop entry takes.
std::string EscapeValue(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\t':
                escaped += "\\t";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// The program as one quoted argument of an Exec line: inside quotes '"', '`', '$' and '\' take a
// backslash, and '%' is doubled since it introduces field codes. The value escapes apply on top.
std::string QuoteExecArgument(std::string_view argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool IsGroupHeader(std::string_view line) {
    return TrimBlanks(line).starts_with('[');
}

// The key of a "key=value" line; empty for other lines.
std::string_view KeyOf(std::string_view line) {
    const auto equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view()
                                            : TrimBlanks(line.substr(0, equals));
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

// The index range [first, last) of the lines of the default-handler group, first being the line
// after its header; nothing when the group is missing.
struct GroupRange {
    std::size_t first = 0;
    std::size_t last = 0;
    bool found = false;
};

GroupRange FindDefaultGroup(const std::vector<std::string_view>& lines) {
    GroupRange range;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (!IsGroupHeader(lines[index])) {
            continue;
        }
        if (range.found) {
            range.last = index;
            return range;
        }
        if (TrimBlanks(lines[index]) == kDefaultGroup) {
            range = {index + 1, lines.size(), true};
        }
    }
    return range;
}

}  // namespace

std::string MakeDesktopEntry(const DesktopEntryFields& fields) {
    std::string entry = "[Desktop Entry]\nType=Application\n";
    entry += "Name=" + EscapeValue(rivode::ToUtf8(fields.name)) + "\n";
    entry += "Comment=" + EscapeValue(rivode::ToUtf8(fields.comment)) + "\n";
    entry += "Exec=" + EscapeValue(QuoteExecArgument(rivode::ToUtf8(fields.executable))) + " %u\n";
    entry += "Terminal=false\nCategories=Network;RemoteAccess;\nMimeType=";
    for (const std::string& mimeType : fields.mimeTypes) {
        entry += mimeType + ";";
    }
    entry += "\n";
    return entry;
}

std::string SetDefaultHandlers(std::string_view list, std::string_view desktopId,
                               const std::vector<std::string>& mimeTypes) {
    const std::vector<std::string_view> lines = SplitLines(list);
    GroupRange group = FindDefaultGroup(lines);
    std::vector<std::string> result(lines.begin(), lines.end());
    if (!group.found) {
        if (!result.empty() && !TrimBlanks(result.back()).empty()) {
            result.emplace_back();
        }
        result.emplace_back(kDefaultGroup);
        group = {result.size(), result.size(), true};
    }
    // Blank lines closing the group stay after the lines added to it.
    std::size_t insertAt = group.last;
    while (insertAt > group.first && TrimBlanks(result[insertAt - 1]).empty()) {
        --insertAt;
    }
    std::vector<std::string> added;
    for (const std::string& mimeType : mimeTypes) {
        const std::string line = mimeType + "=" + std::string(desktopId) + ";";
        const auto begin = result.begin() + static_cast<std::ptrdiff_t>(group.first);
        const auto end = result.begin() + static_cast<std::ptrdiff_t>(group.last);
        const auto existing = std::find_if(
            begin, end, [&](const std::string& candidate) { return KeyOf(candidate) == mimeType; });
        if (existing != end) {
            *existing = line;
        } else {
            added.push_back(line);
        }
    }
    result.insert(result.begin() + static_cast<std::ptrdiff_t>(insertAt), added.begin(),
                  added.end());
    std::string text;
    for (const std::string& line : result) {
        text += line;
        text += '\n';
    }
    return text;
}

std::string GetDefaultHandler(std::string_view list, std::string_view mimeType) {
    const std::vector<std::string_view> lines = SplitLines(list);
    const GroupRange group = FindDefaultGroup(lines);
    for (std::size_t index = group.first; group.found && index < group.last; ++index) {
        if (KeyOf(lines[index]) != mimeType) {
            continue;
        }
        const std::string_view value = lines[index].substr(lines[index].find('=') + 1);
        return std::string(TrimBlanks(value.substr(0, value.find(';'))));
    }
    return {};
}
