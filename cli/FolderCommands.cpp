// folder new|rename|move|delete: the folders of the session tree. Each change keeps the stored
// order of the folders it touches; names are checked by the library's rules.
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "Output.h"
#include "SessionCommandSupport.h"

namespace rivode::cli {
namespace {

constexpr const char* kFolderPathHelp =
    "The folder's path: its parent folders and name separated by \\ (or /)";

ExitStatus RunNew(const std::string& pathText) {
    YUnicodeString path;
    CommandFailure failure;
    if (!ParseItemPath(pathText, path, failure)) {
        return Fail(failure);
    }
    YReportMessageParams report;
    if (!Sessions().CreateFolder(path, report)) {
        return Fail(ReportFailure(report));
    }
    return ExitOk;
}

class FolderCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions&) override {
        CLI::App* folder = app.add_subcommand("folder", "Make and arrange session folders");
        folder->require_subcommand(1);
        new_ = folder->add_subcommand("new", "Make a folder, appended to its parent's order");
        CompleteWith(*new_->add_option("PATH", path_, kFolderPathHelp)->required(),
                     CompletionKind::Folder);
        items_.Add(*folder, kFolderPathHelp);
    }

    std::optional<ExitStatus> Run(const CommandOptions&) override {
        if (new_->parsed()) {
            return RunNew(path_);
        }
        return items_.Run();
    }

private:
    CLI::App* new_ = nullptr;
    std::string path_;
    ItemCommands items_{ItemKind::Folder};
};

}  // namespace

std::unique_ptr<CommandGroup> MakeFolderCommands() {
    return std::make_unique<FolderCommands>();
}

}  // namespace rivode::cli
