// Speed of the INI folder store against raw file I/O of the same bytes, in one run.
//
// Prints name=value lines, each the library's time divided by the raw system calls' time over
// the same tree:
// - list_sessions_vs_readdir;
// - load_vs_raw_read (every key opened and every value read by name) and list_read_vs_raw_read
//   (every key's values listed, then each read): against plain open, read and close of each
//   file; load_vs_store_calls_read and list_read_vs_store_calls_read: the same against a reading
//   with the store's calls (no link following, regular-file check, shared lock, journal look);
// and for saving one value in every key (each save opens the file, locks it, reads it and
// replaces its content):
// - save_vs_raw_inplace_rewrite: against rewriting each file in place without a sync, the
//   floor of a save that keeps the file (its inode, owner, mode and lock);
// - save_vs_raw_crash_safe: against the usual crash-safe save, a temporary file synced and
//   renamed over each file.
// The raw side calls the system directly on purpose: it is the yardstick, not library code.
//
//   storage_bench [--sessions=10000] [--folders=100] [--keep-tree] [Google Benchmark flags]
//
// --keep-tree leaves the generated configuration folder in place (its path is printed), for
// looking at the files or profiling one operation on its own.

#include "bench/BenchSupport.h"
#include "bench/SessionTree.h"

#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace rivode::bench {
namespace {

SessionTree* tree = nullptr;

// ---- the library side ----

int CountSessions(const YProfileKey& key) {
    int sessions = 0;
    YProfileKeyIterator subkeys(key, false);
    YUnicodeString name;
    int kind = 0;
    while (subkeys.Next(name, kind)) {
        YProfileKey subkey(key, name, false);
        std::uint32_t isSession = 0;
        if (kind != ValueKindSubKeyFolder && subkey.GetDword(u"Is Session", isSession) &&
            isSession != 0) {
            ++sessions;
        }
        if (kind == ValueKindSubKeyFolder || kind == ValueKindSubKeyFolderFile) {
            sessions += CountSessions(subkey);
        }
    }
    return sessions;
}

void BM_ListSessions(benchmark::State& state) {
    YIniFileStoreFactory factory(FromUtf8(tree->root));
    for (auto _ : state) {
        YProfileStore store(&factory);
        YProfileKey sessions(store.GetRootKey(), u"Sessions", false);
        const int count = CountSessions(sessions);
        if (count != static_cast<int>(tree->files.size())) {
            state.SkipWithError("wrong session count");
        }
    }
}

// Where the values read go; one set for the run, so the reading allocates as a record's would.
struct ReadBuffers {
    std::uint32_t number = 0;
    YUnicodeString text;
    YStringArray list;
    std::vector<std::uint8_t> bytes;
};
ReadBuffers buffers;

// Reads the value name of kind from key, the way a record member does; true when found.
bool ReadValue(const YProfileKey& key, const YUnicodeString& name, int kind) {
    auto& [number, text, list, bytes] = buffers;
    switch (kind) {
        case ValueKindDword:
            return key.GetDword(name, number);
        case ValueKindString:
            return key.GetString(name, text);
        case ValueKindBinary: {
            std::uint32_t size = 0;
            if (!key.GetBinary(name, nullptr, size)) {
                return false;
            }
            bytes.resize(size);
            return key.GetBinary(name, bytes.data(), size);
        }
        case ValueKindMultiString:
            return key.GetStringArray(name, list);
        default:
            return false;
    }
}

// Reads every value by name, as a configuration record loads its members.
std::size_t ReadAllValues(const YProfileKey& key) {
    std::size_t values = 0;
    for (const SessionValue& value : tree->values) {
        values += ReadValue(key, value.name, value.kind) ? 1 : 0;
    }
    return values;
}

// Lists the key's values, then reads each, as a tool that shows or copies a whole key does.
std::size_t ListAndReadValues(const YProfileKey& key) {
    std::size_t values = 0;
    YProfileKeyIterator listing(key, true);
    YUnicodeString name;
    int kind = 0;
    while (listing.Next(name, kind)) {
        values += ReadValue(key, name, kind) ? 1 : 0;
    }
    return values;
}

// Opens every key of the tree read-only and reads it with read; the values read must be every
// value of every key.
template <class Read>
void LoadEveryKey(benchmark::State& state, Read read) {
    YIniFileStoreFactory factory(FromUtf8(tree->root));
    std::vector<YUnicodeString> paths;
    for (const std::string& path : tree->keyPaths) {
        paths.push_back(FromUtf8(path));
    }
    const SystemTimeCounter systemTime(state);
    for (auto _ : state) {
        YProfileStore store(true, &factory);
        std::size_t values = 0;
        for (const YUnicodeString& path : paths) {
            YProfileKey key(store.GetRootKey(), path, false);
            values += read(key);
        }
        if (values != paths.size() * tree->values.size()) {
            state.SkipWithError("values missing");
        }
    }
}

void BM_Load(benchmark::State& state) {
    LoadEveryKey(state, ReadAllValues);
}

void BM_ListRead(benchmark::State& state) {
    LoadEveryKey(state, ListAndReadValues);
}

void BM_Save(benchmark::State& state) {
    YIniFileStoreFactory factory(FromUtf8(tree->root));
    std::vector<YUnicodeString> paths;
    for (const std::string& path : tree->keyPaths) {
        paths.push_back(FromUtf8(path));
    }
    std::uint32_t round = 0;
    for (auto _ : state) {
        ++round;
        YProfileStore store(&factory);
        for (const YUnicodeString& path : paths) {
            YProfileKey key(store.GetRootKey(), path, false);
            key.SetDword(u"Option Number 7", round);
            if (!key.Flush()) {
                state.SkipWithError("save failed");
                return;
            }
        }
    }
}

// ---- the raw side ----

int WalkRaw(const std::string& folder) {
    int files = 0;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        const std::string path = folder + "/" + entry->d_name;
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) {
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            files += WalkRaw(path);
        } else {
            ++files;
        }
    }
    ::closedir(dir);
    return files;
}

void BM_RawReaddir(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(WalkRaw(tree->root + "/Sessions"));
    }
}

}  // namespace
}  // namespace rivode::bench

int main(int argc, char** argv) {
    using namespace rivode::bench;
    const TreeFlags flags = ParseTreeFlags(argc, argv);
    const int sessions = flags.sessions;
    const int folders = flags.folders;

    SessionTree made = MakeSessionTree(sessions, folders);
    tree = &made;
    const std::vector<std::string> fileContents = ReadFileContents(made.files);
    std::printf("sessions=%d folders=%d bytes=%zu\n", sessions, folders, made.totalBytes);
    if (flags.keepTree) {
        std::printf("tree=%s\n", made.root.c_str());
    }

    // Raw and library runs alternate per operation so both see the same warm page cache.
    const int iterations = 3;
    benchmark::RegisterBenchmark("raw_readdir", BM_RawReaddir)
        ->Iterations(iterations)
        ->UseRealTime();
    benchmark::RegisterBenchmark("list_sessions", BM_ListSessions)
        ->Iterations(iterations)
        ->UseRealTime();
    RegisterRawRead("raw_read", made.files, iterations, RawRead::Plain);
    RegisterRawRead("store_calls_read", made.files, iterations);
    benchmark::RegisterBenchmark("load", BM_Load)->Iterations(iterations)->UseRealTime();
    RegisterRawRead("raw_read_before_list", made.files, iterations, RawRead::Plain);
    RegisterRawRead("store_calls_read_before_list", made.files, iterations);
    benchmark::RegisterBenchmark("list_read", BM_ListRead)->Iterations(iterations)->UseRealTime();
    RegisterRawSave("raw_inplace_rewrite", RawSave::InPlace, made.files, fileContents, iterations);
    benchmark::RegisterBenchmark("save", BM_Save)->Iterations(iterations)->UseRealTime();
    RegisterRawSave("raw_crash_safe", RawSave::CrashSafe, made.files, fileContents, iterations);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "list_sessions_vs_readdir", "list_sessions", "raw_readdir");
    PrintRatio(reporter, "load_vs_raw_read", "load", "raw_read");
    PrintRatio(reporter, "list_read_vs_raw_read", "list_read", "raw_read_before_list");
    PrintRatio(reporter, "load_vs_store_calls_read", "load", "store_calls_read");
    PrintRatio(reporter, "list_read_vs_store_calls_read", "list_read",
               "store_calls_read_before_list");
    PrintRatio(reporter, "save_vs_raw_inplace_rewrite", "save", "raw_inplace_rewrite");
    PrintRatio(reporter, "save_vs_raw_crash_safe", "save", "raw_crash_safe");
    if (!flags.keepTree) {
        RemoveSessionTree(made);
    }
    benchmark::Shutdown();
    const bool failed = reporter.seconds.size() < 11;
    return failed ? 1 : 0;
}
