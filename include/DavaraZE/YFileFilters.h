// File-type filters of file dialogs, built in the form a Qt file dialog takes:
// "Log Files (*.log);;All Files (*)".
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

struct YFileFilter {
    YUnicodeString name;    // "Log Files (*.log *.txt)": the label with its patterns
    YStringArray patterns;  // "*.log", "*.txt"
};
using YFileFilterList = std::vector<YFileFilter>;

// Appends a filter. name is a label from the message table such as "Log Files (%1)", or a plain
// "Log Files"; patterns are one or more patterns separated by ';' or blanks ("*.log;*.txt").
// "%1" in the name becomes the patterns separated by blanks; a name without "%1" gets them
// appended in parentheses unless it already ends with a parenthesised list. "*.*" becomes "*",
// since files here need no extension to be "all files". No patterns at all means "*".
void YAppendFileFilter(YFileFilterList& filters, const YUnicodeString& name,
                       std::u16string_view patterns);
// Appends "All Files (*)" in the user's language.
void YAppendAllFilesFilter(YFileFilterList& filters);

// The filters joined with ";;", as a Qt file dialog's filter text.
YUnicodeString YGetFileFilters(const YFileFilterList& filters);

// The patterns of one filter label ("Log Files (*.log *.txt)" gives "*.log", "*.txt"), taken from
// its last parenthesised list; none when it has no list.
YStringArray YGetFilterPatterns(std::u16string_view filter);

#pragma GCC visibility pop
