// Storing sessions made outside the tree: a batch from a text import, and an ad-hoc session the
// user decides to keep.
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>

#include "config/SessionDatabaseTree.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace msg = rivode::msg;
using namespace rivode::config;

namespace {

void ReportTo(ISessionBatchSink& sink, std::uint32_t id, const YUnicodeString& insert) {
    YReportMessageParams report(id);
    report.AddString(insert);
    sink.Report(report);
}

// A folder the batch stores sessions into, opened once for the whole batch: its children's names
// are listed once and kept up to date with the sessions created, and its order is loaded before
// the first new session and stored once at the end. Saving each session
// on its own listed the folder and rewrote its order every time, which grew with the square of
// the batch.
struct BatchFolder {
    std::unique_ptr<YProfileKey> key;  // null while the folder does not exist
    std::optional<FolderOrder> order;
    std::optional<ChildNames> names;
};

void OpenBatchFolder(const SessionTree& tree, const YUnicodeString& path, BatchFolder& folder) {
    folder.key = tree.OpenFolder(path);
    if (folder.key) {
        folder.order.emplace(*folder.key);
    }
    if (!folder.names) {
        folder.names.emplace(folder.key.get());
    }
}

}  // namespace

std::size_t SessionDatabaseImpl::CreateSessionsFromFile(std::vector<PreparedSession>& batch,
                                                        ISessionBatchSink& sink) {
    std::size_t stored = 0;
    const SessionTree tree(true);
    // Declared after the tree: the folders' keys go before it does.
    std::map<YUnicodeString, BatchFolder, rivode::LessNoCase> folders;
    for (PreparedSession& entry : batch) {
        if (!entry.session) {
            continue;
        }
        if (entry.folderInvalid) {
            ReportTo(sink, msg::ImportedFolderInvalid, entry.folder);
            entry.folder.clear();
        }
        if (!entry.extraText.empty()) {
            ReportTo(sink, msg::ImportedExtraData, entry.extraText);
        }
        const auto [found, isNew] = folders.try_emplace(entry.folder);
        BatchFolder& folder = found->second;
        if (isNew) {
            OpenBatchFolder(tree, entry.folder, folder);
        }
        if (!folder.key && tree.Exists(entry.folder)) {
            YReportMessageParams failure(msg::SessionFolderNotFound);
            failure.AddString(entry.folder);
            sink.Report(failure);  // a session holds the name
            continue;
        }
        const YUnicodeString name = folder.names->TakeFreeName(entry.name);
        const YUnicodeString path = JoinItemPath(entry.folder, name);
        entry.session->SetPath(path);
        {
            const YProfileKey key =
                folder.key ? YProfileKey(*folder.key, name) : YProfileKey(tree.Sessions(), path);
            // Every value is written: a copy of the default session holds values unchanged
            // from another key, which a save of changes only would never write.
            if (!entry.session->WriteAllTo(key) || !key.SetDword(kIsSessionValueName, 1) ||
                !key.Flush()) {
                YReportMessageParams failure;
                FailWith(key.GetStatus(), msg::SessionSaveFailed, path, failure);
                sink.Report(failure);
                continue;
            }
        }
        // A folder made by this session lists it already, as a child its order did not name.
        if (folder.order) {
            folder.order->Append(name, false);
        } else {
            OpenBatchFolder(tree, entry.folder, folder);
        }
        ++stored;
        ReportTo(sink, msg::ImportedSessionCreated, path);
    }
    for (auto& [path, folder] : folders) {
        if (folder.order) {
            folder.order->Store();
        }
    }
    return stored;
}

bool AdHocSessionSaveToDB(ISessionConfig* session, const YUnicodeString& name,
                          YReportMessageParams& report) {
    if (session == nullptr || name.empty()) {
        report.SetMessage(msg::NameRequired);
        return false;
    }
    session->SetPath(name);
    const SessionTree tree(true);
    const YProfileKey key(tree.Sessions(), name);
    if (!session->WriteAllTo(key) || !key.SetDword(kIsSessionValueName, 1) || !key.Flush()) {
        return FailWith(key.GetStatus(), msg::SessionSaveFailed, name, report);
    }
    return true;
}
