// Reading and writing ".key" files.
#include <RivodeRavudaVU/Keymap.h>
#include <RivodeRavudaVU/KeymapLine.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "config/KeymapDefaults.h"
#include "platform/Environment.h"
#include "storage/text/YTextFile.h"

namespace {

// Key maps that come with the program live in its folder "keymaps"; sessions name them by their
// file name alone.
YUnicodeString ProgramKeymapPath(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    const std::u16string_view fileName =
        slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    return rivode::FromUtf8(rivode::platform::GetExecutableFolder()) + u"/keymaps/" +
           YUnicodeString(fileName);
}

}  // namespace

bool Keymap::LoadFile(std::u16string_view path, YReportMessageParams& report) {
    KeymapParseState state;
    return LoadFile(path, report, state);
}

bool Keymap::LoadFile(std::u16string_view path, YReportMessageParams& report,
                      KeymapParseState& state) {
    YTextFile file;
    if (!file.Open(path, YFile::AccessRead, YFile::OpenExisting)) {
        const int error = file.GetLastError();
        if (!file.Open(ProgramKeymapPath(path), YFile::AccessRead, YFile::OpenExisting)) {
            YReportMessageParams cause;
            SetSystemErrorReport(cause, error);
            WrapReport(report, rivode::msg::KeymapLoadFailed, {YUnicodeString(path)}, cause);
            return false;
        }
    }
    return LoadLines([&file](YUnicodeString& line) { return file.ReadLine(line); }, path, report,
                     state);
}

bool Keymap::LoadLines(const std::function<bool(YUnicodeString&)>& nextLine,
                       std::u16string_view path, YReportMessageParams& report,
                       KeymapParseState& state) {
    version_.clear();
    YUnicodeString line;
    bool more = nextLine(line);
    if (more && line.find(u"Version = ") != YUnicodeString::npos) {
        version_ = line;
        // Reports name lines as the file numbers them, the version line included.
        ++state.lineNumber;
        more = nextLine(line);
    }
    while (more && ParseKeymapLine(*this, line, state)) {
        more = nextLine(line);
    }
    if (state.errorCount >= KeymapParseState::kErrorLimit) {
        report.SetMessage(rivode::msg::KeymapLoadFailed);
        report.AddString(YUnicodeString(path));
        report.AddString(state.errorText);
        return false;
    }
    if (state.errorCount > 0) {
        report.SetMessage(rivode::msg::KeymapHasErrors);
        report.AddString(YUnicodeString(path));
        report.AddString(state.errorText);
    }
    fallback_ = std::make_unique<Keymap>(GetDefaultMappings());
    return true;
}

bool Keymap::SaveFile(std::u16string_view path, YReportMessageParams& report) {
    YUnicodeString text = u"Version = 2\r\n";
    const ProfilePath paths;
    for (const KeyMapEntry& entry : GetSortedEntries()) {
        text += FormatKeymapLine(entry, paths);
        text += u"\r\n";
    }
    YTextFile file;
    file.SetEncoding(YTextFile::EncodingUtf8);
    const bool written = file.Open(path, YFile::AccessWrite, YFile::CreateAlways) &&
                         file.Write(text) && file.Flush();
    if (!written) {
        SetFileErrorReport(report, file.GetLastError(), rivode::ToUtf8(path));
    }
    return written;
}
