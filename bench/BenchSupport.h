// What the benchmarks share: the raw file I/O they measure the library against, the ratios they
// print, and their command-line flags.
//
// The raw side calls the system directly on purpose: it is the yardstick, not library code.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace rivode::bench {

// Reads every file whole; returns the bytes read.
std::size_t ReadFilesRaw(const std::vector<std::string>& files);
// Rewrites every file with its contents under the exclusive lock the library takes; false when a
// write failed.
bool WriteFilesRaw(const std::vector<std::string>& files, const std::vector<std::string>& contents);
// Every file's bytes.
std::vector<std::string> ReadFileContents(const std::vector<std::string>& files);

// Keeps each benchmark's mean real time per iteration, to print the ratios after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    std::map<std::string, double> seconds;
};

// Prints name=library/raw with two decimals, or name=failed when either did not run.
void PrintRatio(const RatioReporter& reporter, const char* name, const char* library,
                const char* raw);

// Registers the raw yardsticks, run iterations times each: name reads every file whole; with
// readFirst the rewrite reads each file before writing contents back, as a library rewrite does.
// files and contents must outlive the run.
void RegisterRawRead(const char* name, const std::vector<std::string>& files, int iterations);
void RegisterRawWrite(const char* name, const std::vector<std::string>& files,
                      const std::vector<std::string>& contents, bool readFirst, int iterations);

// The benchmarks' own flags: --sessions=N (default 10000), --folders=N (default 100) and
// --keep-tree, taken out of the arguments before Google Benchmark reads the rest.
struct TreeFlags {
    int sessions = 10000;
    int folders = 100;
    bool keepTree = false;
};
TreeFlags ParseTreeFlags(int& argc, char** argv);

}  // namespace rivode::bench
