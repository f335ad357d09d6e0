// Speed of importing sessions from a delimited text file, in one run:
// - import_text_vs_direct_create: the text import wizard reading the file and creating every
//   session, against making the same sessions through the session database directly (each a
//   copy of "Default" with the line's values set and saved into its folder);
// - import_text_vs_raw_crash_safe: the same import against writing the session files' bytes in
//   the crash-safe pattern of a bulk operation (a temporary file renamed over each, one sync).
//
//   text_import_bench [--sessions=10000] [--folders=100] [Google Benchmark flags]
//
// Every iteration starts from an empty configuration folder of its own.

#include "bench/BenchSupport.h"
#include "bench/SessionTree.h"
#include "storage/ini/ValueFile.h"

#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/FileSessionCreationWizard.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace rivode::bench {
namespace {

struct Line {
    std::string host, folder, name, user, protocol, emulation;
};

std::vector<Line> lines;
std::string textFile;
std::unique_ptr<YIniFileStoreFactory> storeFactory;
std::string currentRoot;

YProfileStoreFactory* GetStoreFactory() {
    return storeFactory.get();
}

// Points the library at a new, empty configuration folder (the last one is removed).
void UseFreshConfiguration() {
    FreeSessionDatabaseImpl();
    FreeGlobalConfig();
    if (!currentRoot.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(currentRoot, ignored);
    }
    currentRoot = MakeTemporaryFolder();
    storeFactory = std::make_unique<YIniFileStoreFactory>(FromUtf8(currentRoot));
}

void FreshConfiguration(benchmark::State& state) {
    state.PauseTiming();
    UseFreshConfiguration();
    state.ResumeTiming();
}

bool ImportText() {
    FileSessionCreationWizardBase wizard;
    YReportMessageParams report;
    wizard.SetFields({ImportField::Hostname, ImportField::Folder, ImportField::SessionName,
                      ImportField::Username, ImportField::Protocol, ImportField::Emulation});
    return wizard.SetFile(FromUtf8(textFile), report) && wizard.ReadEntries(report) &&
           wizard.Import().created == lines.size();
}

void BM_ImportText(benchmark::State& state) {
    for (auto _ : state) {
        FreshConfiguration(state);
        if (!ImportText()) {
            state.SkipWithError("import failed");
            return;
        }
    }
}

void BM_CreateDirectly(benchmark::State& state) {
    for (auto _ : state) {
        FreshConfiguration(state);
        SessionDatabaseImpl& database = *GetSessionDatabaseImpl();
        const YRefPtr<ISessionConfig> defaults =
            database.OpenSession(YUnicodeString(kDefaultSessionName));
        // The same single sync at the end that the import's batch has.
        storage::ValueFileSyncBatch batch;
        for (const Line& line : lines) {
            const YRefPtr<ISessionConfig> copy = defaults->Clone();
            auto& session = static_cast<SessionConfig&>(*copy);
            session.SetProtocolName(FromUtf8(line.protocol));
            session.remoteHostConfig.hostname.Set(FromUtf8(line.host));
            session.remoteHostConfig.username.Set(FromUtf8(line.user));
            session.terminalConfig.emulation.Set(FromUtf8(line.emulation));
            session.SetPath(FromUtf8(line.folder + "\\" + line.name));
            YReportMessageParams report;
            if (!database.SaveSession(session, true, report)) {
                state.SkipWithError("session not saved");
                return;
            }
        }
        if (batch.End()) {
            state.SkipWithError("sync failed");
            return;
        }
    }
}

// The session files the last run made, for the raw yardstick.
std::vector<std::string> SessionFiles(const std::string& root) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root + "/Sessions")) {
        if (entry.is_regular_file() && entry.path().filename() != "__FolderData__.ini") {
            files.push_back(entry.path().string());
        }
    }
    return files;
}

}  // namespace
}  // namespace rivode::bench

int main(int argc, char** argv) {
    using namespace rivode::bench;
    const TreeFlags flags = ParseTreeFlags(argc, argv);

    const std::string work = MakeTemporaryFolder();
    textFile = work + "/sessions.txt";
    {
        std::ofstream out(textFile, std::ios::binary);
        for (int i = 0; i < flags.sessions; ++i) {
            const std::string n = std::to_string(i);
            lines.push_back({"host" + n + ".example.net", "F" + std::to_string(i % flags.folders),
                             "Session " + n, "user" + n, "SSH2", "VT100"});
            const Line& line = lines.back();
            out << line.host << ',' << line.folder << ',' << line.name << ',' << line.user << ','
                << line.protocol << ',' << line.emulation << "\r\n";
        }
    }
    RivodeRavudaVuInit(kProductQuillterm, nullptr, kRivodeInitNoUserInterface);
    RivodeRavudaVuInitProfileFactory(&GetStoreFactory);
    bool fipsMode = false;
    YReportMessageParams report;
    const bool protocols = LoadConnectionProtocolDlls(
        {}, kProductQuillterm, GetDefaultConnectModuleFolder(), fipsMode, report);
    std::printf("sessions=%d folders=%d protocols=%s\n", flags.sessions, flags.folders,
                protocols ? "loaded" : "none");

    // One import first gives the files the raw yardstick writes.
    UseFreshConfiguration();
    if (!ImportText()) {
        std::printf("the import failed\n");
        return 1;
    }
    const std::vector<std::string> files = SessionFiles(currentRoot);
    const std::vector<std::string> contents = ReadFileContents(files);

    const int iterations = 2;
    // Registered first, so it runs first: the imports that follow replace its folder.
    RegisterRawSave("raw_crash_safe_batched", RawSave::CrashSafeBatched, files, contents,
                    iterations);
    benchmark::RegisterBenchmark("import_text", BM_ImportText)
        ->Iterations(iterations)
        ->UseRealTime();
    benchmark::RegisterBenchmark("create_directly", BM_CreateDirectly)
        ->Iterations(iterations)
        ->UseRealTime();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "import_text_vs_direct_create", "import_text", "create_directly");
    PrintRatio(reporter, "import_text_vs_raw_crash_safe", "import_text", "raw_crash_safe_batched");
    RivodeRavudaVuCleanupForUnload();
    std::error_code ignored;
    std::filesystem::remove_all(currentRoot, ignored);
    std::filesystem::remove_all(work, ignored);
    benchmark::Shutdown();
    return reporter.seconds.size() < 3 ? 1 : 0;
}
