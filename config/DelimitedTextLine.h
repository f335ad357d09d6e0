// Splitting one line of a delimited text file (sessions to import) into its values.
//
// The splitter reads text, not files: the import feeds it the lines of the file, tests and the
// fuzzer feed it any text. It never fails: whatever the line holds gives values.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <string_view>

namespace rivode::config {

// No delimiter: the whole line is one value.
inline constexpr char16_t kNoDelimiter = 0;

struct DelimitedLine {
    // In the order of the line; empty values keep their places, so positions match the fields.
    YStringArray values;
    // The 1-based column (in UTF-16 units) of a double quote that opened a group the line never
    // closed, 0 when every group closed. The open group still runs to the end of the line.
    std::size_t unclosedQuoteColumn = 0;
};

// Splits line at delimiter. Double quotes group: a delimiter between an opening and a closing
// quote does not split, and the quotes themselves are dropped (so "" gives nothing). With
// kNoDelimiter the line is the single value as it stands, quotes included. out is overwritten;
// its strings' capacity is reused, so a caller splitting many lines allocates rarely.
void SplitDelimitedLine(std::u16string_view line, char16_t delimiter, DelimitedLine& out);

}  // namespace rivode::config
