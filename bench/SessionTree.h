// A configuration folder of session-like keys for the benchmarks: sessions of about 250 values
// (mostly dwords and strings, some binaries and lists; about 10 KB a file) spread over folders.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string>
#include <vector>

namespace rivode::bench {

// A value every generated session holds.
struct SessionValue {
    YUnicodeString name;
    int kind;
};

struct SessionTree {
    std::string root;                   // the configuration folder
    std::vector<std::string> files;     // every session's .ini file
    std::vector<std::string> keyPaths;  // every session's key path ("Sessions\F003\Session 00042")
    std::vector<SessionValue> values;   // the same names in every session
    std::size_t totalBytes = 0;
};

// Writes the tree through the library into a new folder under the system's temporary folder.
SessionTree MakeSessionTree(int sessions, int folders);
void RemoveSessionTree(const SessionTree& tree);

}  // namespace rivode::bench
