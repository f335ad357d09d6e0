// Reads arbitrary bytes as a text file of sessions to import: decoded by its byte-order mark,
// split into lines, each line split at a delimiter and assigned to fields, then the fix-ups of
// the session's name, folder, protocol and emulation. Whatever the bytes, the values must put
// back together into the line (quotes aside), and the fixed texts must keep the rules the
// session database relies on.
#include "config/SessionImportLine.h"
#include "storage/text/TextCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace rivode::config;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

constexpr char16_t kDelimiters[] = {u',', u'\t', u' ', u';', kNoDelimiter};

void CheckSplit(std::u16string_view line, char16_t delimiter, const DelimitedLine& split) {
    Check(!split.values.empty());
    if (delimiter == kNoDelimiter) {
        Check(split.values.size() == 1 && split.values[0] == line);
        Check(split.unclosedQuoteColumn == 0);
        return;
    }
    YUnicodeString unquoted;
    std::size_t quotes = 0;
    for (const char16_t c : line) {
        if (c == u'"') {
            ++quotes;
        } else {
            unquoted.push_back(c);
        }
    }
    YUnicodeString joined;
    for (std::size_t i = 0; i < split.values.size(); ++i) {
        joined += (i == 0 ? u"" : std::u16string_view(&delimiter, 1));
        joined += split.values[i];
    }
    Check(joined == unquoted);
    Check((quotes % 2 == 1) == (split.unclosedQuoteColumn != 0));
    if (split.unclosedQuoteColumn != 0) {
        Check(split.unclosedQuoteColumn <= line.size() &&
              line[split.unclosedQuoteColumn - 1] == u'"');
    }
}

void CheckFixes(const ImportLineValues& values) {
    const YUnicodeString name = FixImportedName(values[ImportField::SessionName]);
    Check(name.size() == values[ImportField::SessionName].size());
    Check(name.find_first_of(u"\\/:*?\"<>|") == YUnicodeString::npos);

    const YUnicodeString folder = FixImportedFolder(values[ImportField::Folder]);
    Check(folder.find(u'\\') == YUnicodeString::npos);
    if (IsImportedFolderValid(folder)) {
        const YUnicodeString path = ImportedFolderPath(folder);
        Check(path.find(u'/') == YUnicodeString::npos);
        Check(path.empty() || (path.front() != u'\\' && path.back() != u'\\'));
        Check(path.find(u"\\\\") == YUnicodeString::npos);
    }
    for (const auto canonical : {&CanonicalImportProtocol, &CanonicalImportEmulation}) {
        const std::u16string_view text =
            values[canonical == &CanonicalImportProtocol ? ImportField::Protocol
                                                         : ImportField::Emulation];
        const YUnicodeString once = canonical(text);
        Check(once.empty() || canonical(once) == once);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the delimiter and how many fields the line has, in a fixed order.
    const char16_t delimiter = kDelimiters[data[0] % std::size(kDelimiters)];
    const std::vector<ImportField> allFields = {ImportField::SessionName, ImportField::Folder,
                                                ImportField::Ignored,     ImportField::Protocol,
                                                ImportField::Emulation,   ImportField::Hostname};
    const std::vector<ImportField> fields(
        allFields.begin(), allFields.begin() + (data[0] / 8) % (allFields.size() + 1));

    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t markLength = 0;
    const YTextFile::Encoding encoding = rivode::storage::DetectByteOrderMark(bytes, markLength);
    YUnicodeString text;
    (void)rivode::storage::DecodeText(encoding, bytes.substr(markLength), text);

    DelimitedLine split;
    ImportLineValues values;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == YUnicodeString::npos) {
            end = text.size();
        }
        const std::u16string_view line = std::u16string_view(text).substr(start, end - start);
        start = end + 1;
        SplitDelimitedLine(line, delimiter, split);
        CheckSplit(line, delimiter, split);
        AssignImportFields(split, fields, delimiter, values);
        Check(split.values.size() <= fields.size() || !values.extraText.empty() ||
              delimiter == kNoDelimiter);
        CheckFixes(values);
    }
    return 0;
}
