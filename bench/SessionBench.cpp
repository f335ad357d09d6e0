// Speed of the session database against raw file I/O of the same session files, in one run.
//
// Prints name=value lines, each the library's time divided by the raw system calls' time:
// - open_all_sessions_vs_raw_read: every session opened as a full session record through the
//   database, against reading the same files whole with plain open, read and close;
//   open_all_sessions_vs_store_calls_read: the same against a reading with the store's calls
//   (no link following, regular-file check, shared lock, journal look);
// - apply_default_to_all_vs_raw_write: the default session's changes (one value) applied to
//   every session, each loaded, changed and saved, against opening, locking, reading and
//   rewriting the same files in place without a sync;
// - apply_default_to_all_vs_raw_crash_safe: the same against the crash-safe pattern of a bulk
//   operation: each file read under its lock, a temporary file renamed over it, and one sync of
//   the file system at the end (the store's bulk operations batch their syncs too);
// and rss_per_session_kb: the growth of the process's resident memory while every session is
// held open at once as a full record, divided by the number of sessions (file_kb_per_session
// beside it is the size of a session's file, for comparison).
//
//   session_bench [--sessions=10000] [--folders=100] [--keep-tree] [Google Benchmark flags]
//
// The sessions are written by the session record itself, with the protocols of the reference
// modules when they are built beside the library (without them, sessions have no protocol
// values and the figures say less).

#include "bench/BenchSupport.h"
#include "bench/SessionTree.h"

#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include <malloc.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace rivode::bench {
namespace {

std::vector<YUnicodeString> sessionPaths;  // below "Sessions"
std::unique_ptr<YIniFileStoreFactory> storeFactory;

YProfileStoreFactory* GetStoreFactory() {
    return storeFactory.get();
}

void BM_OpenAllSessions(benchmark::State& state) {
    SessionDatabaseImpl& database = *GetSessionDatabaseImpl();
    const SystemTimeCounter systemTime(state);
    for (auto _ : state) {
        for (const YUnicodeString& path : sessionPaths) {
            if (!database.OpenSession(path)) {
                state.SkipWithError("session missing");
                return;
            }
        }
    }
}

void BM_ApplyDefaultToAll(benchmark::State& state) {
    ApplyOneDefaultChangeToAll(state, sessionPaths.size());
}

// The process's resident memory in kilobytes, from the kernel's own account of it.
long ResidentKilobytes() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1;
    }
    char line[256];
    long kilobytes = -1;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::sscanf(line, "VmRSS: %ld kB", &kilobytes) == 1) {
            break;
        }
    }
    std::fclose(status);
    return kilobytes;
}

// Opens every session and keeps them all open, then prints the resident memory they added per
// session.
void PrintMemoryPerSession(std::size_t totalBytes) {
    SessionDatabaseImpl& database = *GetSessionDatabaseImpl();
    // One session first, so what every process pays once (tables, the protocols' modules) is
    // not counted against the sessions.
    (void)database.OpenSession(sessionPaths.front());
    // The runs before freed their records; give their pages back so they are not reused
    // unseen.
    ::malloc_trim(0);
    const long before = ResidentKilobytes();
    std::vector<YRefPtr<ISessionConfig>> open;
    open.reserve(sessionPaths.size());
    for (const YUnicodeString& path : sessionPaths) {
        open.push_back(database.OpenSession(path));
    }
    const long after = ResidentKilobytes();
    if (before < 0 || after < 0 || open.empty()) {
        std::printf("rss_per_session_kb=failed\n");
        return;
    }
    std::printf("rss_per_session_kb=%.1f\n",
                static_cast<double>(after - before) / static_cast<double>(open.size()));
    std::printf("file_kb_per_session=%.1f\n",
                static_cast<double>(totalBytes) / 1024.0 / static_cast<double>(open.size()));
}

}  // namespace
}  // namespace rivode::bench

int main(int argc, char** argv) {
    using namespace rivode::bench;
    using rivode::FromUtf8;
    const TreeFlags flags = ParseTreeFlags(argc, argv);
    const int sessions = flags.sessions;
    const int folders = flags.folders;

    // The library as a host without a user interface sets it up, on a folder of its own.
    const std::string root = MakeTemporaryFolder();
    RivodeRavudaVuInit(kProductQuillterm, nullptr, kRivodeInitNoUserInterface);
    storeFactory = std::make_unique<YIniFileStoreFactory>(FromUtf8(root));
    RivodeRavudaVuInitProfileFactory(&GetStoreFactory);
    bool fipsMode = false;
    YReportMessageParams report;
    const bool protocols = LoadConnectionProtocolDlls(
        {}, kProductQuillterm, GetDefaultConnectModuleFolder(), fipsMode, report);

    SessionTree made = MakeSessionRecordTree(root, sessions, folders);
    const std::vector<std::string> fileContents = ReadFileContents(made.files);
    for (const std::string& keyPath : made.keyPaths) {
        sessionPaths.push_back(FromUtf8(keyPath.substr(keyPath.find('\\') + 1)));
    }
    std::printf("sessions=%d folders=%d bytes=%zu protocols=%s\n", sessions, folders,
                made.totalBytes, protocols ? "loaded" : "none");
    if (flags.keepTree) {
        std::printf("tree=%s\n", made.root.c_str());
    }

    // Raw and library runs alternate per operation so both see the same warm page cache.
    const int iterations = 3;
    RegisterRawRead("raw_read", made.files, iterations, RawRead::Plain);
    RegisterRawRead("store_calls_read", made.files, iterations);
    benchmark::RegisterBenchmark("open_all_sessions", BM_OpenAllSessions)
        ->Iterations(iterations)
        ->UseRealTime();
    // Applying a change reads each file under its lock before rewriting it; so do the
    // yardsticks.
    RegisterRawSave("raw_inplace_rewrite", RawSave::InPlace, made.files, fileContents, iterations);
    benchmark::RegisterBenchmark("apply_default_to_all", BM_ApplyDefaultToAll)
        ->Iterations(iterations)
        ->UseRealTime();
    RegisterRawSave("raw_crash_safe_batched", RawSave::CrashSafeBatched, made.files, fileContents,
                    iterations);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "open_all_sessions_vs_raw_read", "open_all_sessions", "raw_read");
    PrintRatio(reporter, "open_all_sessions_vs_store_calls_read", "open_all_sessions",
               "store_calls_read");
    PrintRatio(reporter, "apply_default_to_all_vs_raw_write", "apply_default_to_all",
               "raw_inplace_rewrite");
    PrintRatio(reporter, "apply_default_to_all_vs_raw_crash_safe", "apply_default_to_all",
               "raw_crash_safe_batched");
    PrintMemoryPerSession(made.totalBytes);
    RivodeRavudaVuCleanupForUnload();
    if (!flags.keepTree) {
        RemoveSessionTree(made);
    }
    benchmark::Shutdown();
    return reporter.seconds.size() < 6 ? 1 : 0;
}
