#include <RivodeRavudaVU/EditDefaultSession.h>

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>

#include <atomic>
#include <string>

namespace msg = rivode::msg;

namespace {

std::atomic<SessionOptionsDialogFunction> g_showSessionOptions{nullptr};

// Shows the dialog on the default session; true when the user confirmed it.
bool ShowOptions(GlobalConfig* global, ISessionConfig& session, unsigned appearanceValue,
                 int product, QWidget* parent) {
    const SessionOptionsDialogFunction show = g_showSessionOptions.load();
    if (show == nullptr) {
        return false;
    }
    // The Emulation page bounds the scrollback the user may ask for by the application-wide
    // limit.
    const int scrollbackLimit =
        global != nullptr ? static_cast<int>(global->maxScrollbackBufferSize.Get()) : 0;
    bool keywordListsChanged = false;
    return show(global, &session, kSessionOptionsModeDefaultSession, false, true, scrollbackLimit,
                false, static_cast<int>(appearanceValue), false, keywordListsChanged, product,
                parent) == YID_OK;
}

}  // namespace

void RegisterSessionOptionsDialog(SessionOptionsDialogFunction show) {
    g_showSessionOptions = show;
}

SessionOptionsDialogFunction GetSessionOptionsDialog() {
    return g_showSessionOptions.load();
}

ApplyDefaultSessionChangesDialog::ApplyDefaultSessionChangesDialog(QWidget* parent)
    : YDialog(kTemplateId, nullptr, parent) {}

YUnicodeString ApplyDefaultSessionChangesDialog::GetTitle() {
    return LoadMessageString(msg::ApplyDefaultChangesTitle);
}
YUnicodeString ApplyDefaultSessionChangesDialog::GetQuestion() {
    return LoadMessageString(msg::ApplyDefaultChangesQuestion);
}
YUnicodeString ApplyDefaultSessionChangesDialog::GetWarning() {
    return LoadMessageString(msg::ApplyDefaultChangesWarning);
}
YUnicodeString ApplyDefaultSessionChangesDialog::GetConfirmLabel() {
    return LoadMessageString(msg::ApplyDefaultChangesConfirm);
}
YUnicodeString ApplyDefaultSessionChangesDialog::GetCancelLabel() {
    return LoadMessageString(msg::ApplyDefaultChangesCancel);
}

bool EditDefaultSession(GlobalConfig* global, unsigned appearanceValue, int product,
                        QWidget* parent, bool& allUpdated) {
    SessionDatabaseImpl& database = *GetSessionDatabaseImpl();
    const YRefPtr<ISessionConfig> session =
        database.OpenSession(YUnicodeString(kDefaultSessionName));
    if (!session || !ShowOptions(global, *session, appearanceValue, product, parent)) {
        return false;
    }
    if (session->IsModified() && ApplyDefaultSessionChangesDialog(parent).DoModal() == YID_OK) {
        const ApplyToAllCounts counts = database.ApplyDefaultSessionChangesToAll(*session);
        for (YReportMessageParams& report : DescribeApplyToAllFailures(counts)) {
            YMessageBox(parent, report);
        }
        if (counts.Failed() == 0) {
            allUpdated = true;
        }
    }
    YReportMessageParams failure;
    if (!database.SaveSession(*session, true, failure)) {
        YMessageBox(parent, failure);
        return false;
    }
    return true;
}
