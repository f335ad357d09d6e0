// Carrying a credential's new title into every session that refers to it.
#include <DavaraZE/YAppName.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YProgressDialog.h>
#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "config/SessionDatabaseTree.h"
#include "storage/ini/ValueFile.h"

namespace msg = rivode::msg;
using namespace rivode::config;

namespace {

// The protocol part whose reference counts: the terminal side's when the session has one.
const ConnectConfig* ReferringSlot(const ISessionConfig& session) {
    if (session.HasTerminalProtocol()) {
        return session.GetTerminalConnectConfig();
    }
    return session.HasTransferProtocol() ? session.GetTransferConnectConfig() : nullptr;
}

struct RenameWalk {
    const YUnicodeString& oldTitle;
    const YUnicodeString& newTitle;
    CredentialRenameCounts counts;
    YReportMessageParams firstFailure;

    void Failed(const YUnicodeString& path, const YReportMessageParams& status) {
        ++counts.failed;
        if (firstFailure.GetMessageId() == 0) {
            FailWith(status, msg::CredentialSessionUpdateFailed, path, firstFailure);
        }
    }

    void Visit(const YUnicodeString& path, const YProfileKey& key) {
        ++counts.seen;
        const YRefPtr<SessionConfig> session = CreateSessionConfig();
        session->SetPath(path);
        session->Load(&key);
        const ConnectConfig* slot = ReferringSlot(*session);
        if (slot == nullptr || !rivode::EqualsNoCase(slot->GetCredentialTitle(), oldTitle)) {
            return;
        }
        // The remote-host part owns the title and hands it to both protocol parts when saving.
        session->remoteHostConfig.credentialTitle = newTitle;
        if (session->Save(key) && key.Flush()) {
            ++counts.updated;
            return;
        }
        Failed(path, key.GetStatus());
    }
};

}  // namespace

CredentialRenameCounts UpdateSessionDatabaseWithCredentialChanges(
    const YUnicodeString& oldTitle, const YUnicodeString& newTitle,
    const IReportMessageParams* progressText, QWidget* parent, YReportMessageParams* failure) {
    RenameWalk walk{oldTitle, newTitle, {}, {}};
    YUnicodeString text;
    if (progressText != nullptr) {
        YReportMessageParams copy;
        copy.Assign(progressText);
        text = copy.GetText();
    }
    const std::unique_ptr<YProgressDialog> progress =
        Create7LineProgressDialog(YGetAppName(), parent);
    progress->SetText(text);
    YRunWithProgress(*progress, [&walk](YProgressDialog& window) {
        // One sync of the file system at the end instead of two per session; each session file
        // is still wholly old or new if the process dies.
        rivode::storage::ValueFileSyncBatch batch;
        {
            const SessionTree tree;
            WalkSessions(tree.Sessions(), {},
                         [&walk, &window](const YUnicodeString& path, const YProfileKey& key) {
                             walk.Visit(path, key);
                             window.SetProgress(walk.counts.seen, 0);
                         });
        }
        if (const rivode::storage::ValueFileError error = batch.End()) {
            YReportMessageParams status;
            SetFileErrorReport(status, error.error, error.path);
            // Nothing saved is known to be on the disk: every update counts as failed.
            walk.counts.failed += walk.counts.updated;
            walk.counts.updated = 0;
            if (walk.firstFailure.GetMessageId() == 0) {
                walk.firstFailure = status;
            }
        }
    });
    if (walk.firstFailure.GetMessageId() != 0) {
        YMessageBox(parent, walk.firstFailure, YMB_ICONWARNING);
        if (failure != nullptr) {
            *failure = walk.firstFailure;
        }
    }
    return walk.counts;
}
