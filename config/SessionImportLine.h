// From a line of a delimited text file to the values of a new session: the values assigned to
// the selected fields, and the fix-ups each field's text gets before it reaches the session.
// Text only: no store, no session record, so tests and the fuzzer call it on any text.
#pragma once

#include "config/DelimitedTextLine.h"

#include <RivodeRavudaVU/FileSessionCreationWizard.h>

#include <array>
#include <span>

namespace rivode::config {

struct ImportLineValues {
    // The value of each field (indexed by ImportField); empty when the line gives none.
    std::array<YUnicodeString, kImportFieldCount> fields;
    // The values beyond the selected fields, each followed by the delimiter.
    YUnicodeString extraText;
    std::size_t unclosedQuoteColumn = 0;

    const YUnicodeString& operator[](ImportField field) const {
        return fields[static_cast<std::size_t>(field)];
    }
};

// Assigns the values of line to fields by position, as far as both go (a value of an Ignored
// field is dropped), and joins the values beyond the fields into the extra text. out is
// overwritten.
void AssignImportFields(const DelimitedLine& line, std::span<const ImportField> fields,
                        char16_t delimiter, ImportLineValues& out);

// The folder as the file gives it with every "\" turned into "/", the separator of its names.
YUnicodeString FixImportedFolder(std::u16string_view folder);
// Whether the folder can hold sessions: none of : * ? " < > |, and no name that is "." or "..".
bool IsImportedFolderValid(std::u16string_view folder);
// The folder's path in the session database ("Work\Jump"): its names joined by "\", empty
// names dropped.
YUnicodeString ImportedFolderPath(std::u16string_view folder);
// The name with each of \ / : * ? " < > | replaced by "_".
YUnicodeString FixImportedName(std::u16string_view name);

// One of the protocols sessions may be imported with, in its canonical spelling ("telnet/tls"
// gives "Telnet/SSL"); empty for any other text.
YUnicodeString CanonicalImportProtocol(std::u16string_view protocol);
// Whether the password of the line is stored for sessions of protocol (canonical).
bool ImportKeepsPassword(std::u16string_view protocol);
// One of the emulations sessions may be imported with, in its canonical spelling; empty for any
// other text.
YUnicodeString CanonicalImportEmulation(std::u16string_view emulation);

}  // namespace rivode::config
