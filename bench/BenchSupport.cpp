#include "bench/BenchSupport.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace rivode::bench {

namespace {

bool LockFirstBytes(int fd, short type) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_len = 4;
    return ::fcntl(fd, F_OFD_SETLKW, &lock) == 0;
}

// Reads the open file to its end, as the store does: the size first, then reads until one
// returns nothing.
bool ReadOpenFile(int fd, std::string& bytes) {
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            bytes.resize(bytes.size() + 4096);
        }
        const ssize_t n =
            ::pread(fd, bytes.data() + filled, bytes.size() - filled, static_cast<off_t>(filled));
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            bytes.resize(filled);
            return true;
        }
        filled += static_cast<std::size_t>(n);
    }
}

// Reads one value file the way a store's reading does: opened without following links, checked
// to be a regular file, read whole under the shared lock on its first 4 bytes, with a look for
// the journal an interrupted save may have left beside it. Returns the bytes read.
std::size_t ReadFileLikeStore(const std::string& file, std::string& journalPath,
                              std::string& bytes) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    struct stat st;
    bool read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && LockFirstBytes(fd, F_RDLCK);
    if (read) {
        journalPath.assign(file).append(".journal");
        const int journal = ::open(journalPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (journal >= 0) {
            ::close(journal);
        }
        read = ReadOpenFile(fd, bytes);
    }
    ::close(fd);
    return read ? bytes.size() : 0;
}

bool WriteAll(int fd, const std::string& content) {
    return ::pwrite(fd, content.data(), content.size(), 0) == static_cast<ssize_t>(content.size());
}

bool RewriteInPlace(int fd, const std::string& content) {
    return WriteAll(fd, content) && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0;
}

bool ReplaceByRename(const std::string& file, const std::string& content, bool sync) {
    const std::string temporary = file + ".tmp";
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    bool done = WriteAll(fd, content) && (!sync || ::fdatasync(fd) == 0);
    done = ::close(fd) == 0 && done;
    if (!done || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool SaveFileRaw(RawSave kind, const std::string& file, const std::string& content,
                 std::string& buffer) {
    const int fd = ::open(file.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool done = LockFirstBytes(fd, F_WRLCK) && ReadOpenFile(fd, buffer);
    if (done) {
        done = kind == RawSave::InPlace
                   ? RewriteInPlace(fd, content)
                   : ReplaceByRename(file, content, kind == RawSave::CrashSafe);
    }
    LockFirstBytes(fd, F_UNLCK);
    ::close(fd);
    return done;
}

}  // namespace

std::size_t ReadFilesRaw(const std::vector<std::string>& files) {
    std::string journalPath;
    std::string bytes;
    std::size_t total = 0;
    for (const std::string& file : files) {
        total += ReadFileLikeStore(file, journalPath, bytes);
    }
    return total;
}

std::size_t ReadFilesPlain(const std::vector<std::string>& files) {
    std::string bytes;
    std::size_t total = 0;
    for (const std::string& file : files) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        // Reads until one returns nothing, into a buffer grown as the bytes arrive.
        std::size_t filled = 0;
        for (;;) {
            if (bytes.size() < filled + 16384) {
                bytes.resize(filled + 16384);
            }
            const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (n <= 0) {
                break;
            }
            filled += static_cast<std::size_t>(n);
        }
        ::close(fd);
        total += filled;
    }
    return total;
}

bool SaveFilesRaw(RawSave kind, const std::vector<std::string>& files,
                  const std::vector<std::string>& contents) {
    std::string buffer;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!SaveFileRaw(kind, files[i], contents[i], buffer)) {
            return false;
        }
    }
    if (kind != RawSave::CrashSafeBatched || files.empty()) {
        return true;
    }
    // All files of a tree live on one file system.
    const int fd = ::open(files.front().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const bool synced = fd >= 0 && ::syncfs(fd) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return synced;
}

std::vector<std::string> ReadFileContents(const std::vector<std::string>& files) {
    std::vector<std::string> contents;
    for (const std::string& file : files) {
        FILE* in = std::fopen(file.c_str(), "rb");
        std::string bytes;
        char chunk[65536];
        std::size_t n;
        while (in != nullptr && (n = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
            bytes.append(chunk, n);
        }
        if (in != nullptr) {
            std::fclose(in);
        }
        contents.push_back(std::move(bytes));
    }
    return contents;
}

namespace {

double ThreadSystemSeconds() {
    struct rusage usage = {};
    ::getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
}

const char* const kSystemSeconds = "system_seconds";

}  // namespace

SystemTimeCounter::SystemTimeCounter(benchmark::State& state)
    : state_(state), start_(ThreadSystemSeconds()) {}

SystemTimeCounter::~SystemTimeCounter() {
    state_.counters[kSystemSeconds] =
        benchmark::Counter(ThreadSystemSeconds() - start_, benchmark::Counter::kAvgIterations);
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) {
            continue;
        }
        const std::string& name = run.run_name.function_name;
        seconds[name] = run.GetAdjustedRealTime();
        cpuSeconds[name] = run.GetAdjustedCPUTime();
        // In the unit of the times above, so that the ratios divide like by like.
        const auto system = run.counters.find(kSystemSeconds);
        if (system != run.counters.end()) {
            systemSeconds[name] =
                system->second.value * benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }
}

namespace {

void PrintRatioOf(const std::map<std::string, double>& seconds,
                  const std::map<std::string, double>& rawSeconds, const std::string& name,
                  const char* library, const char* raw) {
    const auto a = seconds.find(library);
    const auto b = rawSeconds.find(raw);
    if (a == seconds.end() || b == rawSeconds.end() || b->second <= 0) {
        std::printf("%s=failed\n", name.c_str());
        return;
    }
    std::printf("%s=%.2f\n", name.c_str(), a->second / b->second);
}

}  // namespace

void PrintRatio(const RatioReporter& reporter, const char* name, const char* library,
                const char* raw) {
    PrintRatioOf(reporter.seconds, reporter.seconds, name, library, raw);
    PrintRatioOf(reporter.cpuSeconds, reporter.cpuSeconds, std::string(name) + "_cpu", library,
                 raw);
    if (reporter.systemSeconds.count(library) != 0) {
        PrintRatioOf(reporter.systemSeconds, reporter.seconds, std::string(name) + "_system",
                     library, raw);
    }
}

void RegisterRawRead(const char* name, const std::vector<std::string>& files, int iterations,
                     RawRead kind) {
    benchmark::RegisterBenchmark(
        name,
        [&files, kind](benchmark::State& state) {
            for (auto _ : state) {
                // A path that names no file reads nothing in no time, and the ratio would lie.
                const std::size_t bytes =
                    kind == RawRead::Plain ? ReadFilesPlain(files) : ReadFilesRaw(files);
                if (bytes == 0 && !files.empty()) {
                    state.SkipWithError("the raw read found nothing to read");
                    return;
                }
                benchmark::DoNotOptimize(bytes);
            }
        })
        ->Iterations(iterations)
        ->UseRealTime();
}

void RegisterRawSave(const char* name, RawSave kind, const std::vector<std::string>& files,
                     const std::vector<std::string>& contents, int iterations) {
    benchmark::RegisterBenchmark(name,
                                 [kind, &files, &contents](benchmark::State& state) {
                                     for (auto _ : state) {
                                         if (!SaveFilesRaw(kind, files, contents)) {
                                             state.SkipWithError("raw save failed");
                                             return;
                                         }
                                     }
                                 })
        ->Iterations(iterations)
        ->UseRealTime();
}

namespace {

void RemoveArgument(int& argc, char** argv, int index) {
    for (int k = index; k + 1 < argc; ++k) {
        argv[k] = argv[k + 1];
    }
    --argc;
}

bool BoolFlag(int& argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            RemoveArgument(argc, argv, i);
            return true;
        }
    }
    return false;
}

int IntFlag(int& argc, char** argv, const char* name, int fallback) {
    const std::size_t length = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], name, length) == 0 && argv[i][length] == '=') {
            const int value = std::atoi(argv[i] + length + 1);
            RemoveArgument(argc, argv, i);
            return value > 0 ? value : fallback;
        }
    }
    return fallback;
}

}  // namespace

TreeFlags ParseTreeFlags(int& argc, char** argv) {
    TreeFlags flags;
    flags.sessions = IntFlag(argc, argv, "--sessions", flags.sessions);
    flags.folders = IntFlag(argc, argv, "--folders", flags.folders);
    flags.keepTree = BoolFlag(argc, argv, "--keep-tree");
    benchmark::Initialize(&argc, argv);
    return flags;
}

}  // namespace rivode::bench
