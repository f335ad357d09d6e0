#include "SessionCommandSupport.h"
#include "CompletionHint.h"

#include "KeyPath.h"
#include "Output.h"

#include <RivodeRavudaVU/ConnectProtocolTable.h>

namespace rivode::cli {

CLI::App& SessionCommand(CLI::App& app) {
    const std::vector<CLI::App*> existing =
        app.get_subcommands([](CLI::App* command) { return command->get_name() == "session"; });
    if (!existing.empty()) {
        return *existing.front();
    }
    CLI::App* session = app.add_subcommand("session", "Show, change, make and arrange sessions");
    session->require_subcommand(1);
    return *session;
}

bool ParseSessionPath(std::string_view text, YUnicodeString& path, CommandFailure& failure) {
    KeyPath parsed;
    std::string problem;
    if (!ParseKeyPath(text, parsed, problem)) {
        failure = UsageFailure(problem);
        return false;
    }
    path = parsed.IsRoot() ? YUnicodeString() : FromUtf8(parsed.ToDisplayText());
    return true;
}

bool ParseItemPath(std::string_view text, YUnicodeString& path, CommandFailure& failure) {
    if (!ParseSessionPath(text, path, failure)) {
        return false;
    }
    if (path.empty()) {
        failure = UsageFailure("give the path of a session or folder, not the top folder");
        return false;
    }
    return true;
}

bool LoadSessionProtocols(const CommandOptions& options, CommandFailure& failure) {
    const YAppFnTable table{LoadConnectProtocolModule, nullptr, nullptr};
    bool fipsMode = false;
    YReportMessageParams report;
    if (!LoadConnectionProtocolDlls(table, options.product, GetDefaultConnectModuleFolder(),
                                    fipsMode, report)) {
        failure = StoreFailure(
            "the protocol modules could not be loaded (rivode products "
            "shows why): " +
            ReportText(report));
        return false;
    }
    return true;
}

YUnicodeString FindLoadedProtocol(const YUnicodeString& name) {
    const ConnectProtocolEntry* entry = GetConnectProtocolTable().Find(name);
    return entry != nullptr ? entry->name : YUnicodeString();
}

std::string LoadedProtocolNames() {
    const ConnectProtocolTable& table = GetConnectProtocolTable();
    std::string names;
    for (std::size_t i = 0; i < table.GetCount(); ++i) {
        names += (names.empty() ? "" : ", ") + ToUtf8(table.GetEntry(i).name);
    }
    return names;
}

CommandFailure ReportFailure(const YReportMessageParams& report) {
    return StoreFailure(ReportText(report));
}

namespace {

// path as typed, which must not name an item of the other kind: deleting a folder, with all it
// holds, is never what "session delete" meant. A missing item is left to the database to report.
bool ParseItemOfKind(ItemKind kind, const std::string& text, YUnicodeString& path,
                     CommandFailure& failure) {
    if (!ParseItemPath(text, path, failure)) {
        return false;
    }
    const bool otherKind =
        kind == ItemKind::Session ? Sessions().IsFolder(path) : Sessions().IsSession(path);
    if (otherKind) {
        failure = UsageFailure(
            "\"" + text + "\" is " +
            (kind == ItemKind::Session ? "a folder, not a session" : "a session, not a folder"));
        return false;
    }
    return true;
}

ExitStatus Outcome(bool done, const YReportMessageParams& report) {
    return done ? ExitOk : Fail(ReportFailure(report));
}

ExitStatus RunRename(ItemKind kind, const std::string& pathText, const std::string& newName) {
    YUnicodeString path;
    CommandFailure failure;
    if (!ParseItemOfKind(kind, pathText, path, failure)) {
        return Fail(failure);
    }
    YReportMessageParams report;
    return Outcome(Sessions().RenameItem(path, FromUtf8(newName), report), report);
}

ExitStatus RunMove(ItemKind kind, const std::string& pathText, const std::string& folderText) {
    YUnicodeString path;
    YUnicodeString folder;
    CommandFailure failure;
    if (!ParseItemOfKind(kind, pathText, path, failure) ||
        !ParseSessionPath(folderText, folder, failure)) {
        return Fail(failure);
    }
    YReportMessageParams report;
    return Outcome(Sessions().MoveItem(path, folder, report), report);
}

ExitStatus RunDelete(ItemKind kind, const std::string& pathText) {
    YUnicodeString path;
    CommandFailure failure;
    if (!ParseItemOfKind(kind, pathText, path, failure)) {
        return Fail(failure);
    }
    YReportMessageParams report;
    return Outcome(Sessions().DeleteItem(path, report), report);
}

}  // namespace

void ItemCommands::Add(CLI::App& parent, const char* pathHelp) {
    const std::string kind = kind_ == ItemKind::Session ? "session" : "folder";
    rename_ = parent.add_subcommand("rename", "Give a " + kind + " another name in its folder");
    const CompletionKind pathKind =
        kind_ == ItemKind::Session ? CompletionKind::Session : CompletionKind::Folder;
    CompleteWith(*rename_->add_option("PATH", path_, pathHelp)->required(), pathKind);
    rename_->add_option("NEWNAME", target_, "The new name")->required();
    move_ = parent.add_subcommand("move", "Move a " + kind + " into another folder");
    CompleteWith(*move_->add_option("PATH", path_, pathHelp)->required(), pathKind);
    CLI::Option* folder =
        move_->add_option("FOLDER", target_, "The folder's path; \\ for the top folder");
    CompleteWith(*folder->required(), CompletionKind::Folder);
    delete_ = parent.add_subcommand(
        "delete", "Delete a " + kind + (kind_ == ItemKind::Folder ? " with all it holds" : ""));
    CompleteWith(*delete_->add_option("PATH", path_, pathHelp)->required(), pathKind);
}

std::optional<ExitStatus> ItemCommands::Run() const {
    if (rename_->parsed()) {
        return RunRename(kind_, path_, target_);
    }
    if (move_->parsed()) {
        return RunMove(kind_, path_, target_);
    }
    if (delete_->parsed()) {
        return RunDelete(kind_, path_);
    }
    return std::nullopt;
}

SessionDatabaseImpl& Sessions() {
    return *GetSessionDatabaseImpl();
}

}  // namespace rivode::cli
