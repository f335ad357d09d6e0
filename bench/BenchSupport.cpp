#include "bench/BenchSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace rivode::bench {

std::size_t ReadFilesRaw(const std::vector<std::string>& files) {
    std::vector<char> buffer(1 << 16);
    std::size_t total = 0;
    for (const std::string& file : files) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        ssize_t n;
        while ((n = ::read(fd, buffer.data(), buffer.size())) > 0) {
            total += static_cast<std::size_t>(n);
        }
        ::close(fd);
    }
    return total;
}

bool WriteFilesRaw(const std::vector<std::string>& files, const std::vector<std::string>& contents) {
    bool written = true;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int fd = ::open(files[i].c_str(), O_WRONLY | O_CLOEXEC);
        struct flock lock = {};
        lock.l_type = F_WRLCK;
        lock.l_len = 4;
        ::fcntl(fd, F_OFD_SETLKW, &lock);
        if (::ftruncate(fd, 0) != 0 || ::write(fd, contents[i].data(), contents[i].size()) < 0) {
            written = false;
        }
        ::close(fd);
    }
    return written;
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

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (!run.error_occurred) {
            seconds[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }
}

void PrintRatio(const RatioReporter& reporter, const char* name, const char* library,
                const char* raw) {
    const auto a = reporter.seconds.find(library);
    const auto b = reporter.seconds.find(raw);
    if (a == reporter.seconds.end() || b == reporter.seconds.end() || b->second <= 0) {
        std::printf("%s=failed\n", name);
        return;
    }
    std::printf("%s=%.2f\n", name, a->second / b->second);
}

void RegisterRawRead(const char* name, const std::vector<std::string>& files, int iterations) {
    benchmark::RegisterBenchmark(name, [&files](benchmark::State& state) {
        for (auto _ : state) {
            benchmark::DoNotOptimize(ReadFilesRaw(files));
        }
    })->Iterations(iterations)->UseRealTime();
}

void RegisterRawWrite(const char* name, const std::vector<std::string>& files,
                      const std::vector<std::string>& contents, bool readFirst, int iterations) {
    benchmark::RegisterBenchmark(name, [&files, &contents, readFirst](benchmark::State& state) {
        for (auto _ : state) {
            if (readFirst) {
                benchmark::DoNotOptimize(ReadFilesRaw(files));
            }
            if (!WriteFilesRaw(files, contents)) {
                state.SkipWithError("raw write failed");
            }
        }
    })->Iterations(iterations)->UseRealTime();
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
