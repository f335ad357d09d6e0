// Applying the default session's changes to every session, and telling the user per cause why
// some were not updated.
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>

#include "config/SessionDatabaseTree.h"
#include "storage/ini/ValueFile.h"

#include <cerrno>
#include <vector>

namespace msg = rivode::msg;
using namespace rivode::config;

namespace {

// The count a failed save goes to, by the system's reason behind the key's status. A status
// without a system reason (a refused file, a damaged one) is one of the "other" failures.
std::size_t& CountFor(ApplyToAllCounts& counts, const IReportMessageParams& status) {
    switch (GetSystemErrorCause(status)) {
        case EROFS:
            return counts.readOnly;
        case ENOSPC:
        case EDQUOT:
            return counts.noSpace;
        case EACCES:
        case EPERM:
            return counts.permission;
        default:
            return counts.other;
    }
}

// Counts the failed save of the session at path and reports it.
void CountFailure(ApplyToAllCounts& counts, const YUnicodeString& path,
                  const YReportMessageParams& status, const ApplyToAllFailureSink& onFailure) {
    ++CountFor(counts, status);
    if (onFailure) {
        YReportMessageParams report;
        FailWith(status, msg::SessionSaveFailed, path, report);
        onFailure(path, report);
    }
}

// Every session is saved without its own syncs, and the file system is synced once at the end:
// two syncs per session would make applying to thousands of sessions take minutes. A killed
// process still leaves each session wholly old or new; a session counts as updated only once
// the final sync has put it on the disk.
ApplyToAllCounts ApplyToEverySession(const std::function<void(SessionConfig&)>& apply,
                                     const ApplyToAllFailureSink& onFailure) {
    ApplyToAllCounts counts;
    std::size_t current = 0;
    std::vector<YUnicodeString> saved;
    rivode::storage::ValueFileSyncBatch batch;
    const SessionTree tree;
    WalkSessions(tree.Sessions(), {}, [&](const YUnicodeString& path, const YProfileKey& key) {
        // The stored default is the source of the changes, saved by its editor: it is not one
        // of the user's sessions to count.
        if (rivode::EqualsNoCase(path, kDefaultSessionName)) {
            return;
        }
        ++counts.seen;
        if (!key.IsWritable()) {
            ++counts.readOnly;
            return;
        }
        const YRefPtr<SessionConfig> session = CreateSessionConfig();
        session->SetPath(path);
        session->Load(&key);
        // A protocol no loaded module offers fell back to another one at load; saving would
        // store that one in its place.
        if (session->HasUnknownProtocol()) {
            ++counts.unknownProtocol;
            return;
        }
        apply(*session);
        // A session that already holds every value applied is up to date as it stands: rewriting
        // thousands of unchanged files would only cost time and wear.
        if (!session->IsModified()) {
            ++current;
            return;
        }
        if (session->Save(key) && key.Flush()) {
            saved.push_back(path);
            return;
        }
        CountFailure(counts, path, key.GetStatus(), onFailure);
    });
    if (const rivode::storage::ValueFileError error = batch.End()) {
        YReportMessageParams status;
        SetFileErrorReport(status, error.error, error.path);
        for (const YUnicodeString& path : saved) {
            CountFailure(counts, path, status, onFailure);
        }
        saved.clear();
    }
    counts.updated = current + saved.size();
    return counts;
}

}  // namespace

ApplyToAllCounts SessionDatabaseImpl::ApplyDefaultSessionChangesToAll(
    const ISessionConfig& defaultSession, const ApplyToAllFailureSink& onFailure) {
    return ApplyToEverySession(
        [&](SessionConfig& session) { session.ApplyChangesFrom(defaultSession); }, onFailure);
}

ApplyToAllCounts SessionDatabaseImpl::ApplyDefaultSessionValuesToAll(
    const ISessionConfig& defaultSession, const std::vector<YUnicodeString>& names,
    const ApplyToAllFailureSink& onFailure) {
    // The source is read through the same visit that writes the targets, which needs a record
    // of its own.
    const YRefPtr<ISessionConfig> copy = defaultSession.Clone();
    auto* source = dynamic_cast<SessionConfig*>(copy.get());
    if (source == nullptr) {
        return {};
    }
    return ApplyToEverySession(
        [&](SessionConfig& session) { session.ApplyValuesFrom(*source, names); }, onFailure);
}

std::vector<YReportMessageParams> DescribeApplyToAllFailures(const ApplyToAllCounts& counts) {
    const std::pair<std::size_t, std::uint32_t> causes[] = {
        {counts.readOnly, msg::DefaultSessionReadOnlySessions},
        {counts.noSpace, msg::DefaultSessionNoSpaceSessions},
        {counts.permission, msg::DefaultSessionDeniedSessions},
        {counts.other, msg::DefaultSessionFailedSessions},
        {counts.unknownProtocol, msg::DefaultSessionUnknownProtocolSessions},
    };
    std::vector<YReportMessageParams> reports;
    for (const auto& [count, id] : causes) {
        if (count == 0) {
            continue;
        }
        YReportMessageParams& report = reports.emplace_back(id);
        report.AddString(std::to_string(counts.seen));
        report.AddString(std::to_string(count));
    }
    return reports;
}
