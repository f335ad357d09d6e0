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

// Takes --name (BoolFlag) or --name=N (IntFlag, fallback when absent or not positive) out of the
// arguments, leaving the rest to Google Benchmark.
bool BoolFlag(int& argc, char** argv, const char* name);
int IntFlag(int& argc, char** argv, const char* name, int fallback);

}  // namespace rivode::bench
