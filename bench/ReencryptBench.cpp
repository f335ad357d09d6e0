// Speed of re-enciphering every stored secret when the configuration passphrase changes, against
// the bulk operation it resembles most and against raw file I/O, in one run.
//
// Prints name=value lines:
// - reencrypt_all_vs_apply_default_to_all: every session's password converted from one
//   passphrase to another (each session loaded, converted and saved), against applying one
//   changed value of the default session to every session (each loaded, changed and saved);
// - reencrypt_all_vs_raw_crash_safe: the same conversion against reading each file under its
//   lock, renaming a temporary file over it and one sync of the file system at the end.
//
//   reencrypt_bench [--sessions=10000] [--folders=100] [--keep-tree] [Google Benchmark flags]

#include "bench/BenchSupport.h"
#include "bench/SessionTree.h"

#include <RivodeRavudaVU/ConfigPassphraseStartup.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/YEncryptedString.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include <cstdio>
#include <memory>
#include <utility>

namespace rivode::bench {
namespace {

std::unique_ptr<YIniFileStoreFactory> storeFactory;
std::size_t sessionCount = 0;

YProfileStoreFactory* GetStoreFactory() {
    return storeFactory.get();
}

void BM_ReencryptAll(benchmark::State& state) {
    YUnicodeString from = u"old passphrase";
    YUnicodeString to = u"new passphrase";
    for (auto _ : state) {
        SensitiveDataResult result;
        YReportMessageParams report;
        if (!ReencryptSensitiveData(from, to, 0x6138003B, result, report) ||
            result.converted < sessionCount) {
            state.SkipWithError("secrets not converted");
            return;
        }
        std::swap(from, to);
    }
}

void BM_ApplyDefaultToAll(benchmark::State& state) {
    ApplyOneDefaultChangeToAll(state, sessionCount);
}

}  // namespace
}  // namespace rivode::bench

int main(int argc, char** argv) {
    using namespace rivode::bench;
    using rivode::FromUtf8;
    const TreeFlags flags = ParseTreeFlags(argc, argv);

    const std::string root = MakeTemporaryFolder();
    RivodeRavudaVuInit(kProductQuillterm, nullptr, kRivodeInitNoUserInterface);
    storeFactory = std::make_unique<YIniFileStoreFactory>(FromUtf8(root));
    RivodeRavudaVuInitProfileFactory(&GetStoreFactory);
    bool fipsMode = false;
    YReportMessageParams report;
    const bool protocols = LoadConnectionProtocolDlls(
        {}, kProductQuillterm, GetDefaultConnectModuleFolder(), fipsMode, report);

    SessionTree made = MakeSessionRecordTree(root, flags.sessions, flags.folders);
    // Every session holds a password under the first passphrase, as a host would have stored it.
    YEncryptedString password;
    if (!password.SetPlaintext(u"secret", u"old passphrase")) {
        return 1;
    }
    {
        YProfileStore store(storeFactory.get());
        for (const std::string& keyPath : made.keyPaths) {
            const YProfileKey key(store.GetRootKey(), FromUtf8(keyPath));
            if (!key.SetString(u"Password V2", password.GetEncryptedText()) || !key.Flush()) {
                return 1;
            }
        }
    }
    sessionCount = made.keyPaths.size();
    const std::vector<std::string> fileContents = ReadFileContents(made.files);
    std::printf("sessions=%d folders=%d bytes=%zu protocols=%s\n", flags.sessions, flags.folders,
                made.totalBytes, protocols ? "loaded" : "none");
    if (flags.keepTree) {
        std::printf("tree=%s\n", made.root.c_str());
    }

    const int iterations = 3;
    benchmark::RegisterBenchmark("reencrypt_all", BM_ReencryptAll)
        ->Iterations(iterations)
        ->UseRealTime();
    benchmark::RegisterBenchmark("apply_default_to_all", BM_ApplyDefaultToAll)
        ->Iterations(iterations)
        ->UseRealTime();
    RegisterRawSave("raw_crash_safe_batched", RawSave::CrashSafeBatched, made.files, fileContents,
                    iterations);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "reencrypt_all_vs_apply_default_to_all", "reencrypt_all",
               "apply_default_to_all");
    PrintRatio(reporter, "reencrypt_all_vs_raw_crash_safe", "reencrypt_all",
               "raw_crash_safe_batched");
    RivodeRavudaVuCleanupForUnload();
    if (!flags.keepTree) {
        RemoveSessionTree(made);
    }
    benchmark::Shutdown();
    return reporter.seconds.size() < 3 ? 1 : 0;
}
