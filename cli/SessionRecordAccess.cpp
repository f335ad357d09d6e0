#include "cli/SessionRecordAccess.h"

#include "cli/SessionCommandSupport.h"

namespace rivode::cli {

bool SessionRecordAccess::Open(const CommandOptions& options, const std::string& pathText,
                               CommandFailure& failure) {
    if (!ParseItemPath(pathText, path_, failure) || !LoadSessionProtocols(options, failure)) {
        return false;
    }
    session_ = Sessions().OpenSession(path_);
    record_ = dynamic_cast<SessionConfig*>(session_.get());
    if (record_ == nullptr) {
        failure = StoreFailure("there is no session \"" + pathText +
                               "\" (rivode sessions --tree lists them)");
        return false;
    }
    return true;
}

bool SessionRecordAccess::Save(CommandFailure& failure) {
    if (record_->HasUnknownProtocol()) {
        failure = StoreFailure("the session names a protocol no loaded module offers; saving it "
                               "would replace that protocol (rivode products shows the modules)");
        return false;
    }
    YReportMessageParams report;
    if (!Sessions().SaveSession(*record_, path_ == kDefaultSessionName, report)) {
        failure = ReportFailure(report);
        return false;
    }
    return true;
}

}  // namespace rivode::cli
