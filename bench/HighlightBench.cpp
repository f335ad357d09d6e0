// Speed of keyword highlighting against raw file I/O of the same bytes, in one run.
//
// A screen log of --kilobytes of text (80-column lines of log messages) is matched by a list of
// 200 keywords: 190 plain words and 10 regular expressions, in each match style, and by 200
// plain words alone. Prints name=value lines: log_bytes, highlight_whole_words_vs_raw_read,
// highlight_phrases_vs_raw_read and highlight_plain_whole_words_vs_raw_read (the matcher's time
// over the whole log divided by a raw read of the log file), and the matcher's speed in
// megabytes a second for each.
//
//   highlight_bench [--kilobytes=1024] [Google Benchmark flags]

#include "bench/BenchSupport.h"

#include <RivodeRavudaVU/KeywordMatcher.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace rivode::bench {
namespace {

constexpr const char* kWords[] = {"kernel",  "session", "connect", "timeout", "user",    "login",
                                  "packet",  "route",   "disk",    "mount",   "daemon",  "socket",
                                  "buffer",  "retry",   "cache",   "token",   "request", "reply",
                                  "process", "thread",  "signal",  "queue",   "memory",  "swap",
                                  "network", "address", "port",    "service", "module",  "update"};

// 190 plain keywords and, with expressions, 10 regular expressions; without, 10 more plain ones.
YStringArray MakeKeywords(bool withExpressions) {
    YStringArray lines;
    for (int i = 0; i < 190; ++i) {
        std::string keyword = i < 30 ? kWords[i] : std::string(kWords[i % 30]) + std::to_string(i);
        if (i % 7 == 0) {
            keyword = "ERROR" + std::to_string(i);
        }
        lines.push_back(
            FormatKeywordLine({FromUtf8(keyword), static_cast<std::uint32_t>(i), false}));
    }
    const char* expressions[] = {"fail\\w*",       "[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+",
                                 "warn(ing)?",     "0x[0-9a-f]+",
                                 "pid=[0-9]+",     "denied",
                                 "err[0-9]{3}",    "[A-Z]{4}-[0-9]+",
                                 "exit\\(\\d+\\)", "segfault"};
    for (const char* expression : expressions) {
        lines.push_back(FormatKeywordLine({FromUtf8(expression), 0xFF00u, withExpressions}));
    }
    return lines;
}

std::string MakeLog(std::size_t bytes) {
    std::mt19937 random(14);
    std::string log;
    while (log.size() < bytes) {
        std::string line = "Dec  6 10:" + std::to_string(10 + random() % 50) + " host " +
                           kWords[random() % 30] + "[" + std::to_string(random() % 9000) + "]:";
        while (line.size() < 78) {
            switch (random() % 9) {
                case 0:
                    line += " failed";
                    break;
                case 1:
                    line += " 10.0." + std::to_string(random() % 255) + ".1";
                    break;
                case 2:
                    line += " ERROR" + std::to_string(random() % 200);
                    break;
                default:
                    line += std::string(" ") + kWords[random() % 30];
                    break;
            }
        }
        log += line.substr(0, 79) + "\n";
    }
    log.resize(bytes);
    return log;
}

YUnicodeString logText;
std::unique_ptr<KeywordMatcher> wholeWords;
std::unique_ptr<KeywordMatcher> phrases;
std::unique_ptr<KeywordMatcher> plainOnly;

void BM_Highlight(benchmark::State& state, const KeywordMatcher* matcher) {
    std::size_t spans = 0;
    for (auto _ : state) {
        spans = matcher->Match(logText).size();
        benchmark::DoNotOptimize(spans);
    }
    state.counters["spans"] = static_cast<double>(spans);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * logText.size()));
}

std::unique_ptr<KeywordMatcher> MakeMatcher(const YStringArray& lines, bool lineMode) {
    const YRefPtr<HighlightConfig> list = CreateHighlightConfig();
    list->SetRegexLineMode(lineMode);
    list->SetLines(lines);
    return std::make_unique<KeywordMatcher>(*list);
}

}  // namespace
}  // namespace rivode::bench

int main(int argc, char** argv) {
    using namespace rivode::bench;
    std::size_t kilobytes = 1024;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--kilobytes=", 12) == 0) {
            kilobytes = static_cast<std::size_t>(std::atoi(argv[i] + 12));
            std::memmove(argv + i, argv + i + 1, sizeof(char*) * (argc - i));
            --argc;
            --i;
        }
    }
    std::string pattern =
        (std::filesystem::temp_directory_path() / "highlight-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string root = pattern;
    const std::string logFile = root + "/screen.log";
    const std::string log = MakeLog(kilobytes * 1024);
    std::ofstream(logFile, std::ios::binary) << log;
    logText = rivode::FromUtf8(log);
    const YStringArray keywords = MakeKeywords(true);
    wholeWords = MakeMatcher(keywords, false);
    phrases = MakeMatcher(keywords, true);
    plainOnly = MakeMatcher(MakeKeywords(false), false);
    std::printf("log_bytes=%zu\nkeywords=%zu\n", log.size(), keywords.size());

    const int iterations = 5;
    const std::vector<std::string> files = {logFile};
    RegisterRawRead("raw_read_log", files, iterations);
    benchmark::RegisterBenchmark("highlight_whole_words", BM_Highlight, wholeWords.get())
        ->Iterations(iterations)
        ->UseRealTime();
    benchmark::RegisterBenchmark("highlight_phrases", BM_Highlight, phrases.get())
        ->Iterations(iterations)
        ->UseRealTime();
    benchmark::RegisterBenchmark("highlight_plain_whole_words", BM_Highlight, plainOnly.get())
        ->Iterations(iterations)
        ->UseRealTime();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "highlight_whole_words_vs_raw_read", "highlight_whole_words",
               "raw_read_log");
    PrintRatio(reporter, "highlight_phrases_vs_raw_read", "highlight_phrases", "raw_read_log");
    PrintRatio(reporter, "highlight_plain_whole_words_vs_raw_read", "highlight_plain_whole_words",
               "raw_read_log");
    // The reporter keeps each run's time in the benchmark's unit, nanoseconds.
    for (const char* name :
         {"highlight_whole_words", "highlight_phrases", "highlight_plain_whole_words"}) {
        const auto found = reporter.seconds.find(name);
        if (found != reporter.seconds.end() && found->second > 0) {
            std::printf("%s_megabytes_per_second=%.2f\n", name,
                        static_cast<double>(log.size()) / (found->second * 1e-9) / 1e6);
        }
    }
    std::filesystem::remove_all(root);
    benchmark::Shutdown();
    return reporter.seconds.size() < 4 ? 1 : 0;
}
