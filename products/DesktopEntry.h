// The two files through which a desktop learns which program opens which kind of link: the
// program's desktop entry ($XDG_DATA_HOME/applications/<id>.desktop) and the user's list of
// default handlers ($XDG_CONFIG_HOME/mimeapps.list). Text in, text out, so the editing can be
// tested and fuzzed without files.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string>
#include <string_view>
#include <vector>

struct DesktopEntryFields {
    YUnicodeString name;
    YUnicodeString comment;
    YUnicodeString executable;           // started with the link as its one argument
    std::vector<std::string> mimeTypes;  // "x-scheme-handler/ssh"
};

// A complete desktop entry, UTF-8 with LF line ends, the values escaped so that any name and
// any executable path (blanks, quotes, '$', '%', backslashes, line breaks) survive.
std::string MakeDesktopEntry(const DesktopEntryFields& fields);

// The list with desktopId as the default handler of each of mimeTypes in its
// "[Default Applications]" group: lines of those types in that group are replaced in place,
// the missing ones are added at the end of the group, the group is added when missing. Every
// other line, comment and group stays as it was.
std::string SetDefaultHandlers(std::string_view list, std::string_view desktopId,
                               const std::vector<std::string>& mimeTypes);

// The default handler of mimeType in the list's "[Default Applications]" group: the first
// desktop id of its value; empty when there is none.
std::string GetDefaultHandler(std::string_view list, std::string_view mimeType);
