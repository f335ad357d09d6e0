// Storing sessions made outside the tree: a batch from a text import, and an ad-hoc session the
// user decides to keep.
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>

#include "config/SessionDatabaseTree.h"

namespace msg = rivode::msg;
using namespace rivode::sessions;

namespace {

void ReportTo(ISessionBatchSink& sink, std::uint32_t id, const YUnicodeString& insert) {
    YReportMessageParams report(id);
    report.AddString(insert);
    sink.Report(report);
}

}  // namespace

std::size_t SessionDatabaseImpl::CreateSessionsFromFile(std::vector<PreparedSession>& batch,
                                                        ISessionBatchSink& sink) {
    std::size_t stored = 0;
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
        const YUnicodeString name = MakeUniqueName(entry.folder, entry.name);
        const YUnicodeString path = JoinItemPath(entry.folder, name);
        entry.session->SetPath(path);
        YReportMessageParams failure;
        if (!SaveSession(*entry.session, true, failure)) {
            sink.Report(failure);
            continue;
        }
        ++stored;
        ReportTo(sink, msg::ImportedSessionCreated, path);
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
