// Configuration folders of sessions for the benchmarks, spread over folders: session-like keys of
// about 250 values (mostly dwords and strings, some binaries and lists; about 10 KB a file), or
// sessions written by the session record itself.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <benchmark/benchmark.h>

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

// A new, empty folder under the system's temporary folder.
std::string MakeTemporaryFolder();

// Writes the tree through the library into a new folder under the system's temporary folder.
SessionTree MakeSessionTree(int sessions, int folders);
// Writes sessions as the session record stores them (every value of the record, its defaults
// with a host and user of its own, and the protocols of the loaded modules) into root, which the
// registered default store must serve already: a record's defaults read the global record.
// values stays empty.
SessionTree MakeSessionRecordTree(const std::string& root, int sessions, int folders);
void RemoveSessionTree(const SessionTree& tree);

// Applies one changed value of the default session to every session through the database, a
// value that differs from every session's in each round so that every file is rewritten; sets
// state's error unless all sessions were updated.
void ApplyOneDefaultChangeToAll(benchmark::State& state, std::size_t sessions);

}  // namespace rivode::bench
