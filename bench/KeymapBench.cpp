// Speed of reading key maps against raw file I/O of the same bytes, in one run.
//
// Prints name=value lines: key_file_vs_raw_read (a ".key" file of --mappings mappings loaded
// with Keymap::LoadFile) and session_keymap_vs_raw_read (the same mappings stored as a session's
// "Keymap v5" and read by ProfileKeymap from its key), each the library's time divided by a raw
// read of the same file.
//
//   keymap_bench [--mappings=1000] [Google Benchmark flags]

#include "bench/BenchSupport.h"

#include <RivodeRavudaVU/ProfileKeymap.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace rivode::bench {
namespace {

std::string root;
std::string keyFile;
std::string sessionFile;
std::size_t mappingCount = 0;

Keymap MakeMappings(int count) {
    static constexpr std::uint32_t kModifiers[] = {
        0, kKeyCtrl, kKeyShift, kKeyAlt, kKeyCtrl | kKeyShift, kKeyAlt | kKeyCtrl};
    Keymap map;
    for (int i = 0; map.GetSize() < static_cast<std::size_t>(count); ++i) {
        const std::uint32_t key = (0x30 + i % 0x60) | kModifiers[(i / 0x60) % 6] |
                                  (i / (0x60 * 6) % 2 != 0 ? kKeyExtended : 0);
        switch (i % 4) {
            case 0:
                map.Set({key,
                         kFunctionSend,
                         u"\\033[" + rivode::FromAscii(std::to_string(i)) + u"~",
                         {}});
                break;
            case 1:
                map.Set({key, 19u + i % 100, {}, {}});
                break;
            case 2:
                map.Set({key, kFunctionLaunch, u"/usr/bin/xterm", u"-e top"});
                break;
            default:
                map.Set({key, kFunctionRun, u"/opt/scripts/run.py", u"--fast"});
                break;
        }
        if (i > 100000) {
            break;
        }
    }
    return map;
}

void BM_LoadKeyFile(benchmark::State& state) {
    for (auto _ : state) {
        Keymap map;
        YReportMessageParams report;
        if (!map.LoadFile(FromUtf8(keyFile), report) || map.GetSize() != mappingCount) {
            state.SkipWithError("the key file did not load");
        }
    }
}

void BM_LoadSessionKeymap(benchmark::State& state) {
    YIniFileStoreFactory factory(FromUtf8(root));
    for (auto _ : state) {
        YProfileStore store(&factory);
        const YProfileKey sessions(store.GetRootKey(), u"Sessions", false);
        const YProfileKey session(sessions, u"Bench", false);
        ProfileKeymap map;
        map.Init(&session, YUnicodeString(ProfileKeymap::kValueName), {});
        if (map.GetSize() != mappingCount) {
            state.SkipWithError("the session's key map did not load");
        }
    }
}

}  // namespace
}  // namespace rivode::bench

int main(int argc, char** argv) {
    using namespace rivode::bench;
    using rivode::FromUtf8;
    int mappings = 1000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--mappings=", 11) == 0) {
            mappings = std::atoi(argv[i] + 11);
            std::memmove(argv + i, argv + i + 1, sizeof(char*) * (argc - i));
            --argc;
            --i;
        }
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "keymap-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    root = pattern;
    keyFile = root + "/bench.key";
    sessionFile = root + "/Sessions/Bench.ini";

    Keymap map = MakeMappings(mappings);
    mappingCount = map.GetSize();
    YReportMessageParams report;
    if (!map.SaveFile(FromUtf8(keyFile), report)) {
        std::fprintf(stderr, "cannot write %s\n", keyFile.c_str());
        return 1;
    }
    {
        YIniFileStoreFactory factory(FromUtf8(root));
        YProfileStore store(&factory);
        const YProfileKey sessions(store.GetRootKey(), u"Sessions", true);
        const YProfileKey session(sessions, u"Bench", true);
        ProfileKeymap stored;
        stored.Init(nullptr, YUnicodeString(ProfileKeymap::kValueName), {});
        stored.AssignMappings(map);
        if (!stored.Save(session) || !session.Flush()) {
            std::fprintf(stderr, "cannot write the session\n");
            return 1;
        }
    }
    std::printf("mappings=%zu\n", mappingCount);

    const int iterations = 50;
    const std::vector<std::string> keyFiles = {keyFile};
    const std::vector<std::string> sessionFiles = {sessionFile};
    RegisterRawRead("raw_read_key_file", keyFiles, iterations);
    benchmark::RegisterBenchmark("load_key_file", BM_LoadKeyFile)
        ->Iterations(iterations)
        ->UseRealTime();
    RegisterRawRead("raw_read_session", sessionFiles, iterations);
    benchmark::RegisterBenchmark("load_session_keymap", BM_LoadSessionKeymap)
        ->Iterations(iterations)
        ->UseRealTime();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "key_file_vs_raw_read", "load_key_file", "raw_read_key_file");
    PrintRatio(reporter, "session_keymap_vs_raw_read", "load_session_keymap", "raw_read_session");
    std::filesystem::remove_all(root);
    benchmark::Shutdown();
    return reporter.seconds.size() < 4 ? 1 : 0;
}
