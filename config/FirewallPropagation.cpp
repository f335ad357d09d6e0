// Carrying firewall renames into every stored session.
#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/RemoteHostConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "config/SessionDatabaseTree.h"
#include "storage/ini/ValueFile.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YProgressDialog.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace msg = rivode::msg;
using namespace rivode::config;

namespace {

const YUnicodeString* FindNewName(const FirewallChangeArray& changes, const YUnicodeString& name) {
    const auto found = std::find_if(changes.begin(), changes.end(),
                                    [&name](const auto& change) { return change.first == name; });
    return found == changes.end() ? nullptr : &found->second;
}

}  // namespace

// Only the session's firewall name is written: the rest of the session stays exactly as stored,
// whatever protocol modules this process has loaded. The remote-host part is read to settle the
// name of sessions older than "Firewall Name" (their "Use Firewall" switch). Saves skip their own
// syncs and the file system is synced once at the end, as applying the default session does: a
// killed process leaves each session old or new.
FirewallPropagationCounts PropagateFirewallChanges(const FirewallChangeArray& changes,
                                                   YReportMessageParams& firstFailure) {
    FirewallPropagationCounts counts;
    std::vector<YUnicodeString> saved;
    rivode::storage::ValueFileSyncBatch batch;
    const SessionTree tree;
    const auto fail = [&](const YUnicodeString& path, const YReportMessageParams& status) {
        if (counts.failed++ == 0) {
            FailWith(status, msg::SessionSaveFailed, path, firstFailure);
        }
    };
    WalkSessions(tree.Sessions(), {}, [&](const YUnicodeString& path, const YProfileKey& key) {
        ++counts.seen;
        RemoteHostConfig host;
        host.Init(&key);
        if (!key.GetStatus().IsSuccess()) {
            return;  // a session that cannot be read is skipped
        }
        const YUnicodeString* newName = FindNewName(changes, host.firewallName.Get());
        if (newName == nullptr) {
            return;
        }
        if (key.SetString(host.firewallName.GetName(), *newName) && key.Flush()) {
            saved.push_back(path);
            return;
        }
        fail(path, key.GetStatus());
    });
    if (const rivode::storage::ValueFileError error = batch.End()) {
        YReportMessageParams status;
        SetFileErrorReport(status, error.error, error.path);
        for (const YUnicodeString& path : saved) {
            fail(path, status);
        }
        saved.clear();
    }
    counts.updated = saved.size();
    return counts;
}

FirewallPropagationCounts UpdateSessionDatabaseWithFirewallChanges(
    const FirewallChangeArray& changes, const IReportMessageParams* progressText, QWidget* parent) {
    YReportMessageParams text;
    text.Assign(progressText);
    const std::unique_ptr<YProgressDialog> progress =
        Create7LineProgressDialog(YGetAppName(), parent);
    progress->SetText(progressText != nullptr ? YUnicodeString(text.GetTextTrimmed()) : u"");
    FirewallPropagationCounts counts;
    YReportMessageParams failure;
    std::thread worker([&] {
        counts = PropagateFirewallChanges(changes, failure);
        progress->PostClose();
    });
    progress->DoModal();
    worker.join();
    if (counts.failed != 0) {
        YMessageBox(parent, failure, YMB_ICONERROR);
    }
    return counts;
}
