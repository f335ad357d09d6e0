// Reads one message source file.
//
//   ; a comment line
//   [0xE1380003 LaunchAppFailed]
//   %1 could not be launched from the following location:
//   %2
//
// A header line gives the id and the C++ name of its constant; the text is every following line
// up to the next header or the end of the file, comment lines skipped and trailing empty lines
// dropped. Each line of the text ends in "\r\n" in the table. Files are UTF-8 (a byte-order mark
// is allowed); lines may end in LF or CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace message_compiler {

struct SourceMessage {
    std::uint32_t id = 0;
    std::string name;
    std::u32string text;  // code points, line breaks already "\r\n"
    std::string file;
    int line = 0;
};

// Appends the messages of the file; false with a "file:line: problem" in error otherwise.
bool ReadMessageSource(const std::string& path, std::vector<SourceMessage>& messages,
                       std::string& error);

}  // namespace message_compiler
