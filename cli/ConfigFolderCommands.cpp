// config-folder [check DIR | set DIR]: where the configuration folder of this run is and how it
// was found, whether a folder passes the command-line folder rule, and recording the folder
// later runs use when --config names none.
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "HostSetup.h"
#include "Output.h"

#include <DavaraZE/YConfigFolder.h>
#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/RivodeMessages.h>

namespace rivode::cli {
namespace {

ExitStatus RunShow(const CommandOptions& options) {
    const StoreFolders& folders = options.folders;
    const YUnicodeString appName(kRivodeAppName);
    const std::string recorded = ToUtf8(GetAppConfigPath(appName));
    if (options.json) {
        PrintJson({{"folder", folders.main},
                   {"source", DescribeFolderSource(folders.source)},
                   {"state", DescribeFolderState(InspectFolder(folders.main))},
                   {"settingsFile", folders.settingsFile},
                   {"recorded", recorded},
                   {"personalFolder", folders.personal},
                   {"storePersonalDataSeparately", UsePersonalDataPath(appName)}});
        return ExitOk;
    }
    PrintLine(folders.main);
    PrintLine(std::string("found: ") + DescribeFolderSource(folders.source));
    PrintLine(std::string("state: ") + DescribeFolderState(InspectFolder(folders.main)));
    if (folders.settingsFile) {
        PrintLine("kind: XML settings file, read only");
    }
    PrintLine("recorded: " + (recorded.empty() ? std::string("(none)") : recorded));
    PrintLine("personal data: " + (folders.personal.empty()
                                       ? std::string("(in the configuration folder)")
                                       : folders.personal));
    return ExitOk;
}

ExitStatus RunCheck(const std::string& argument) {
    YReportMessageParams report;
    YUnicodeString path;
    if (!CheckAppConfigPathCommandLine(FromUtf8(argument), path, report)) {
        return Fail(StoreFailure(ReportText(report)));
    }
    if (!IsValidConfigFolder(path, report)) {
        return Fail(StoreFailure(ReportText(report)));
    }
    PrintLine(ToUtf8(path));
    return ExitOk;
}

ExitStatus RunSet(const CommandOptions& options, const std::string& argument, bool force) {
    std::string folder;
    std::string problem;
    if (!NormaliseFolderArgument(argument, folder, problem)) {
        return Fail(UsageFailure(problem));
    }
    YReportMessageParams report;
    const YUnicodeString path = FromUtf8(folder);
    if (!IsValidConfigFolder(path, report) ||
        !SaveAppConfigPath(path, options.product, force, report)) {
        return Fail(StoreFailure(ReportText(report)));
    }
    YReportMessageParams notice;
    notice.SetMessage(rivode::msg::ConfigFolderChangeAtRestart);
    notice.AddString(YUnicodeString(kRivodeAppName));
    PrintLine(ReportText(notice));
    return ExitOk;
}

class ConfigFolderCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        group_ = app.add_subcommand("config-folder",
                                    "Where the configuration folder is and how it was found");
        group_->require_subcommand(0, 1);
        group_->add_flag("--json", options.json,
                         "Print one JSON object: folder, source, state, recorded, "
                         "personalFolder, storePersonalDataSeparately");
        check_ = group_->add_subcommand(
            "check", "Check a folder as one named on the command line; print it as it is used");
        CompleteWith(*check_->add_option("DIR", folder_, "The folder")->required(),
                     CompletionKind::Directory);
        set_ = group_->add_subcommand("set",
                                      "Record the folder later runs use when --config names none");
        CompleteWith(*set_->add_option("DIR", folder_, "The folder (absolute)")->required(),
                     CompletionKind::Directory);
        set_->add_flag("--force", force_,
                       "Record it for the integrated sibling product even when it has a folder");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (check_->parsed()) {
            return RunCheck(folder_);
        }
        if (set_->parsed()) {
            return RunSet(options, folder_, force_);
        }
        if (group_->parsed()) {
            return RunShow(options);
        }
        return std::nullopt;
    }

private:
    CLI::App* group_ = nullptr;
    CLI::App* check_ = nullptr;
    CLI::App* set_ = nullptr;
    std::string folder_;
    bool force_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeConfigFolderCommands() {
    return std::make_unique<ConfigFolderCommands>();
}

}  // namespace rivode::cli
