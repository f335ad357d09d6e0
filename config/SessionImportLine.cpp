#include "config/SessionImportLine.h"

#include <algorithm>

namespace rivode::config {
namespace {

constexpr std::u16string_view kFolderIllegalCharacters = u":*?\"<>|";
constexpr std::u16string_view kNameIllegalCharacters = u"\\/:*?\"<>|";

constexpr std::u16string_view kImportProtocols[] = {u"SSH2",   u"SSH1", u"Telnet", u"Telnet/SSL",
                                                    u"RLogin", u"SCP",  u"Raw"};
// Protocols that never take a password from the file: they have no logon of their own to give
// it to. "Telnet/TLS" is the display name of "Telnet/SSL", which does keep one.
constexpr std::u16string_view kNoPasswordProtocols[] = {u"Local Shell", u"Telnet", u"Raw",
                                                        u"Telnet/TLS"};

// Independent of the host product: a file imports the same on every product.
constexpr std::u16string_view kImportEmulations[] = {
    u"ANSI",  u"Linux", u"SCOANSI", u"TN3270", u"Brackenhold", u"TVI910", u"TVI925", u"VT100",
    u"VT102", u"VT220", u"VT320",   u"WYSE50", u"WYSE60",      u"Xterm",  u"Dumb"};

template <std::size_t N>
YUnicodeString FindCanonical(const std::u16string_view (&names)[N], std::u16string_view text) {
    for (const std::u16string_view name : names) {
        if (EqualsNoCase(name, text)) {
            return YUnicodeString(name);
        }
    }
    return {};
}

// Calls visit with each "/"-separated name of folder.
template <class Visit>
void ForEachFolderName(std::u16string_view folder, Visit visit) {
    std::size_t start = 0;
    while (start <= folder.size()) {
        std::size_t end = folder.find(u'/', start);
        if (end == std::u16string_view::npos) {
            end = folder.size();
        }
        visit(folder.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace

void AssignImportFields(const DelimitedLine& line, std::span<const ImportField> fields,
                        char16_t delimiter, ImportLineValues& out) {
    for (YUnicodeString& value : out.fields) {
        value.clear();
    }
    out.extraText.clear();
    out.unclosedQuoteColumn = line.unclosedQuoteColumn;
    const std::size_t assigned = std::min(line.values.size(), fields.size());
    for (std::size_t i = 0; i < assigned; ++i) {
        if (fields[i] != ImportField::Ignored) {
            out.fields[static_cast<std::size_t>(fields[i])] = line.values[i];
        }
    }
    for (std::size_t i = assigned; i < line.values.size(); ++i) {
        out.extraText += line.values[i];
        if (delimiter != kNoDelimiter) {
            out.extraText.push_back(delimiter);
        }
    }
}

YUnicodeString FixImportedFolder(std::u16string_view folder) {
    YUnicodeString fixed(folder);
    std::replace(fixed.begin(), fixed.end(), u'\\', u'/');
    return fixed;
}

bool IsImportedFolderValid(std::u16string_view folder) {
    if (folder.find_first_of(kFolderIllegalCharacters) != std::u16string_view::npos) {
        return false;
    }
    // The store refuses these names as keys: they would name the folder itself or its parent.
    bool valid = true;
    ForEachFolderName(folder, [&valid](std::u16string_view name) {
        valid = valid && name != u"." && name != u"..";
    });
    return valid;
}

YUnicodeString ImportedFolderPath(std::u16string_view folder) {
    YUnicodeString path;
    ForEachFolderName(folder, [&path](std::u16string_view name) {
        if (name.empty()) {
            return;
        }
        if (!path.empty()) {
            path.push_back(u'\\');
        }
        path += name;
    });
    return path;
}

YUnicodeString FixImportedName(std::u16string_view name) {
    YUnicodeString fixed(name);
    for (char16_t& c : fixed) {
        if (kNameIllegalCharacters.find(c) != std::u16string_view::npos) {
            c = u'_';
        }
    }
    return fixed;
}

YUnicodeString CanonicalImportProtocol(std::u16string_view protocol) {
    if (EqualsNoCase(protocol, u"Telnet/TLS")) {
        return u"Telnet/SSL";
    }
    return FindCanonical(kImportProtocols, protocol);
}

bool ImportKeepsPassword(std::u16string_view protocol) {
    return FindCanonical(kNoPasswordProtocols, protocol).empty();
}

YUnicodeString CanonicalImportEmulation(std::u16string_view emulation) {
    return FindCanonical(kImportEmulations, emulation);
}

}  // namespace rivode::config
