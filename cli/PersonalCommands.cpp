// personal status|enable DIR|disable|migrate|merge: whether personal data (user names,
// passwords, logon scripts) lives in a folder of its own, and moving it there and back.
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "HostSetup.h"
#include "Output.h"

#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/GlobalConfigurationPathsPage.h>
#include <RivodeRavudaVU/PersonalData.h>

namespace rivode::cli {
namespace {

YUnicodeString AppName() {
    return YUnicodeString(kRivodeAppName);
}

YUnicodeString PersonalFolderOf(const CommandOptions& options) {
    if (options.folders.personalFromCommandLine) {
        return FromUtf8(options.folders.personal);
    }
    return GetAppPersonalDataPath(AppName(), FromUtf8(options.folders.main));
}

ExitStatus RunStatus(const CommandOptions& options) {
    const YUnicodeString app = AppName();
    const bool separate = UsePersonalDataPath(app);
    const std::string folder = ToUtf8(PersonalFolderOf(options));
    const bool migration = DoPersonalDataMigration(app);
    const bool merge = DoPersonalDataMerge(app);
    if (options.json) {
        PrintJson({{"storeSeparately", separate},
                   {"folder", folder},
                   {"recordedFolder", ToUtf8(GetAppPersonalDataPathStored(app))},
                   {"migrationPending", migration},
                   {"mergePending", merge},
                   {"folderInUse", options.folders.personal}});
        return ExitOk;
    }
    PrintLine(std::string("store separately: ") + (separate ? "yes" : "no"));
    PrintLine("folder: " + folder);
    PrintLine(std::string("migration pending: ") + (migration ? "yes" : "no"));
    PrintLine(std::string("merge pending: ") + (merge ? "yes" : "no"));
    return ExitOk;
}

// enable and disable record what the Global Options page records for the same change: the
// folder, the state and the pending move.
ExitStatus ApplyPersonalDataChoice(const CommandOptions& options, bool separate,
                                   const std::string& folder) {
    GlobalConfigurationPathsPage page(options.product, FromUtf8(options.folders.main));
    if (!folder.empty()) {
        page.personalDataFolder = FromUtf8(folder);
    }
    page.OnStorePersonalDataSeparately(separate);
    std::vector<std::uint32_t> notices;
    YReportMessageParams report;
    if (!page.Apply(notices, report)) {
        return Fail(StoreFailure(ReportText(report)));
    }
    if (separate) {
        PrintLine("personal data is stored in " + ToUtf8(page.personalDataFolder) +
                  " once it has been moved there: rivode personal migrate");
    } else {
        PrintLine(
            "personal data is stored in the configuration folder once it has been moved "
            "back: rivode personal merge");
    }
    return ExitOk;
}

ExitStatus RunEnable(const CommandOptions& options, const std::string& argument) {
    std::string folder;
    std::string problem;
    if (!NormaliseFolderArgument(argument, folder, problem)) {
        return Fail(UsageFailure(problem));
    }
    return ApplyPersonalDataChoice(options, true, folder);
}

ExitStatus RunMigrate(const CommandOptions& options) {
    if (!UsePersonalDataPath(AppName())) {
        return Fail(
            StoreFailure("personal data is not stored separately: rivode personal "
                         "enable DIR first"));
    }
    const YUnicodeString folder = PersonalFolderOf(options);
    PersonalDataMoveResult result;
    YReportMessageParams report;
    const bool moved = RunPersonalDataMigration(options.product, folder, result, report);
    PrintLine(std::to_string(result.keys) + " sessions moved their personal data to " +
              ToUtf8(folder));
    return moved ? ExitOk : Fail(StoreFailure(ReportText(report)));
}

ExitStatus RunMerge(const CommandOptions& options) {
    const YUnicodeString folder = PersonalFolderOf(options);
    PersonalDataMoveResult result;
    YReportMessageParams report;
    const bool merged = RunPersonalDataMerge(options.product, folder, result, report);
    PrintLine(std::to_string(result.keys) + " keys merged from " + ToUtf8(folder) +
              (result.mismatched != 0 ? "; " + std::to_string(result.mismatched) +
                                            " left there (no such key in the configuration folder)"
                                      : std::string()));
    return merged ? ExitOk : Fail(StoreFailure(ReportText(report)));
}

class PersonalCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* group = app.add_subcommand(
            "personal", "Keep personal data (user names, passwords) in a folder of its own");
        group->require_subcommand(1);
        status_ = group->add_subcommand("status", "Whether personal data is stored separately");
        status_->add_flag("--json", options.json,
                          "Print one JSON object: storeSeparately, folder, recordedFolder, "
                          "migrationPending, mergePending, folderInUse");
        enable_ = group->add_subcommand(
            "enable", "Store personal data in DIR from now on (then: personal migrate)");
        CompleteWith(*enable_->add_option("DIR", folder_, "The personal-data folder")->required(),
                     CompletionKind::Directory);
        disable_ = group->add_subcommand(
            "disable", "Store personal data in the configuration folder (then: personal merge)");
        migrate_ = group->add_subcommand(
            "migrate", "Move the sessions' personal data into the personal-data folder");
        merge_ =
            group->add_subcommand("merge", "Move personal data back into the configuration folder");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (status_->parsed()) {
            return RunStatus(options);
        }
        if (enable_->parsed()) {
            return RunEnable(options, folder_);
        }
        if (disable_->parsed()) {
            return ApplyPersonalDataChoice(options, false, {});
        }
        if (migrate_->parsed()) {
            return RunMigrate(options);
        }
        if (merge_->parsed()) {
            return RunMerge(options);
        }
        return std::nullopt;
    }

private:
    CLI::App* status_ = nullptr;
    CLI::App* enable_ = nullptr;
    CLI::App* disable_ = nullptr;
    CLI::App* migrate_ = nullptr;
    CLI::App* merge_ = nullptr;
    std::string folder_;
};

}  // namespace

std::unique_ptr<CommandGroup> MakePersonalCommands() {
    return std::make_unique<PersonalCommands>();
}

}  // namespace rivode::cli
