#include <RivodeRavudaVU/SettingsTransfer.h>

SettingsFileNames SettingsFileNames::FromPath(const YUnicodeString& path) {
    const std::size_t slash = path.rfind(u'/');
    YUnicodeString folder =
        slash == YUnicodeString::npos ? YUnicodeString() : path.substr(0, slash + 1);
    YUnicodeString name = slash == YUnicodeString::npos ? path : path.substr(slash + 1);
    if (folder.empty()) {
        folder = u"./";
    }
    // The extension the user typed (".xml" or another) gives way to the transfer's own three;
    // a leading dot belongs to the name of a hidden file, not to an extension.
    const std::size_t dot = name.rfind(u'.');
    if (dot != YUnicodeString::npos && dot != 0) {
        name.resize(dot);
    }
    const YUnicodeString base = folder + name;
    return {base + u".xml", base + u".bak", base + u".log"};
}

const char16_t* GetSettingsLogLevelWord(SettingsLogLevel level) {
    switch (level) {
        case SettingsLogLevel::Warning:
            return u"warn";
        case SettingsLogLevel::Error:
            return u"err";
        default:
            return u"info";
    }
}
