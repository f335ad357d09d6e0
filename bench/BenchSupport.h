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

// Reads every file whole with the calls a store's reading makes (open without following links,
// fstat, shared lock on the first 4 bytes, a look for a journal, reads to the end, close);
// returns the bytes read.
std::size_t ReadFilesRaw(const std::vector<std::string>& files);
// Reads every file whole with nothing but open, read and close: the floor any reading of the
// same bytes stands on, without the checks and the lock a safe reading adds. Returns the bytes
// read.
std::size_t ReadFilesPlain(const std::vector<std::string>& files);

// How a raw save puts contents into a file. Each opens the file without following links, takes
// the exclusive lock on its first 4 bytes and reads it whole (a store save reads the file again
// under that lock), then:
enum class RawSave {
    // rewrites it in place: pwrite at offset 0, ftruncate to the new length. No sync, no
    // journal: the format-keeping rewrite with no crash safety, the floor of any in-place save.
    InPlace,
    // writes a temporary file beside it, fdatasyncs it and renames it over the file: the
    // usual crash-safe save (which, unlike the store's, replaces the file's inode).
    CrashSafe,
    // the same without the fdatasync of each file, and one syncfs per run: the crash-safe
    // pattern as a bulk operation that batches its syncs, as the store's bulk operations do.
    CrashSafeBatched,
};
// Saves contents[i] into files[i] for every file, the way kind says; false when a call failed.
bool SaveFilesRaw(RawSave kind, const std::vector<std::string>& files,
                  const std::vector<std::string>& contents);
// Every file's bytes.
std::vector<std::string> ReadFileContents(const std::vector<std::string>& files);

// Counts the kernel's share of a benchmark: the calling thread's time in system calls while it
// lives, per iteration, into the benchmark's "system_seconds" counter. Make one before the
// benchmark's loop.
class SystemTimeCounter {
public:
    explicit SystemTimeCounter(benchmark::State& state);
    ~SystemTimeCounter();
    SystemTimeCounter(const SystemTimeCounter&) = delete;
    SystemTimeCounter& operator=(const SystemTimeCounter&) = delete;

private:
    benchmark::State& state_;
    double start_;
};

// Keeps each benchmark's mean real, CPU and system time per iteration, to print the ratios
// after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    std::map<std::string, double> seconds;
    std::map<std::string, double> cpuSeconds;
    std::map<std::string, double> systemSeconds;
};

// Prints name=library/raw of the real times with two decimals, or name=failed when either did
// not run; then name_cpu= the same of the process's CPU times, which other work on a shared
// machine disturbs far less (the raw side's CPU time is mostly the kernel's); then, when the
// library's benchmark counts its system time, name_system= that time over the raw side's real
// time: how much of the ratio the system calls alone take, as they run between the library's
// own work (with the caches that work leaves them). The kernel divides a thread's time between
// user and system by clock-tick samples, so over a few hundred milliseconds name_system
// scatters by a fifth from run to run: compare several runs.
void PrintRatio(const RatioReporter& reporter, const char* name, const char* library,
                const char* raw);

// Registers the raw yardsticks, run iterations times each: name reads every file whole (with
// the store's calls, or plainly), or saves contents back into every file the way kind says.
// files and contents must outlive the run.
enum class RawRead { LikeStore, Plain };
void RegisterRawRead(const char* name, const std::vector<std::string>& files, int iterations,
                     RawRead kind = RawRead::LikeStore);
void RegisterRawSave(const char* name, RawSave kind, const std::vector<std::string>& files,
                     const std::vector<std::string>& contents, int iterations);

// The benchmarks' own flags: --sessions=N (default 10000), --folders=N (default 100) and
// --keep-tree, taken out of the arguments before Google Benchmark reads the rest.
struct TreeFlags {
    int sessions = 10000;
    int folders = 100;
    bool keepTree = false;
};
TreeFlags ParseTreeFlags(int& argc, char** argv);

}  // namespace rivode::bench
