// sessions: the folders and sessions of a folder in the user's order, as session lists show them.
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "Output.h"
#include "SessionCommandSupport.h"

#include <RivodeRavudaVU/RivodeMessages.h>

namespace rivode::cli {
namespace {

struct ListedItem {
    std::string name;  // UTF-8
    bool isFolder = false;
    std::vector<ListedItem> children;  // a folder's, when the whole tree is listed
};

// The folder's children: its folders first, then its sessions, each in the stored order merged
// with what exists. false when path is not a folder.
bool ListItems(const YUnicodeString& path, bool tree, std::vector<ListedItem>& items) {
    ProfileFolderData listing;
    if (!Sessions().ListFolder(path, listing)) {
        return false;
    }
    for (const YUnicodeString& folder : listing.GetFolders()) {
        ListedItem item{ToUtf8(folder), true, {}};
        if (tree &&
            !ListItems(path.empty() ? folder : path + u'\\' + folder, true, item.children)) {
            continue;  // gone since the listing
        }
        items.push_back(std::move(item));
    }
    for (const YUnicodeString& session : listing.GetSessions()) {
        items.push_back({ToUtf8(session), false, {}});
    }
    return true;
}

nlohmann::json ItemsToJson(const std::vector<ListedItem>& items, bool tree) {
    nlohmann::json array = nlohmann::json::array();
    for (const ListedItem& item : items) {
        nlohmann::json entry = {{"name", item.name},
                                {"type", item.isFolder ? "folder" : "session"}};
        if (tree && item.isFolder) {
            entry["children"] = ItemsToJson(item.children, true);
        }
        array.push_back(std::move(entry));
    }
    return array;
}

// One item a line, folders marked by a final "\", the tree indented two blanks a level.
void PrintItems(const std::vector<ListedItem>& items, const std::string& indent) {
    for (const ListedItem& item : items) {
        PrintLine(indent + item.name + (item.isFolder ? "\\" : ""));
        PrintItems(item.children, indent + "  ");
    }
}

ExitStatus RunSessions(const CommandOptions& options, const std::string& folderText, bool tree) {
    YUnicodeString folder;
    CommandFailure failure;
    if (!ParseSessionPath(folderText, folder, failure)) {
        return Fail(failure);
    }
    std::vector<ListedItem> items;
    if (!ListItems(folder, tree, items)) {
        YReportMessageParams report(rivode::msg::SessionFolderNotFound);
        report.AddString(folder);
        return Fail(ReportFailure(report));
    }
    if (options.json) {
        PrintJson(ItemsToJson(items, tree));
    } else {
        PrintItems(items, "");
    }
    return ExitOk;
}

class SessionListCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        sessions_ = app.add_subcommand(
            "sessions",
            "List the folders (marked by a final \\) and sessions of a folder in the user's order");
        CLI::Option* folder =
            sessions_->add_option("FOLDER", folder_, "The folder's path (default: the top folder)");
        CompleteWith(*folder, CompletionKind::Folder);
        sessions_->add_flag("--tree", tree_, "List every folder below it too, indented");
        sessions_->add_flag("--json", options.json,
                            "Print JSON: an array of {\"name\", \"type\"} (\"folder\" or "
                            "\"session\"), with --tree a folder's \"children\" too");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (!sessions_->parsed()) {
            return std::nullopt;
        }
        return RunSessions(options, folder_, tree_);
    }

private:
    CLI::App* sessions_ = nullptr;
    std::string folder_;
    bool tree_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeSessionListCommands() {
    return std::make_unique<SessionListCommands>();
}

}  // namespace rivode::cli
