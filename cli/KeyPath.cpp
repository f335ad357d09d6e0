#include "KeyPath.h"

namespace rivode::cli {

std::string KeyPath::ToDisplayText() const {
    if (names.empty()) {
        return "\\";
    }
    YUnicodeString joined;
    for (const YUnicodeString& name : names) {
        if (!joined.empty()) {
            joined += u'\\';
        }
        joined += name;
    }
    return ToUtf8(joined);
}

bool ParseKeyPath(std::string_view text, KeyPath& path, std::string& problem) {
    YUnicodeString wide;
    if (!FromUtf8Strict(text, wide)) {
        problem = "the key path is not valid UTF-8 text";
        return false;
    }
    path.names.clear();
    std::size_t start = 0;
    while (start <= wide.size()) {
        std::size_t end = wide.find_first_of(u"\\/", start);
        if (end == YUnicodeString::npos) {
            end = wide.size();
        }
        const std::u16string_view name(wide.data() + start, end - start);
        if (name == u"." || name == u"..") {
            problem = "the key path \"" + std::string(text) +
                      "\" holds \".\" or \"..\", which are no key names";
            return false;
        }
        if (!name.empty()) {
            path.names.emplace_back(name);
        }
        start = end + 1;
    }
    return true;
}

bool IsPortableKeyName(std::u16string_view name) {
    if (name.empty() || name.back() == u'.' || name.back() == u' ') {
        return false;
    }
    for (char16_t c : name) {
        if (c < 0x20 || c == 0x7f ||
            std::u16string_view(u"<>:\"|?*").find(c) != std::u16string_view::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace rivode::cli
