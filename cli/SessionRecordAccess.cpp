#include "SessionRecordAccess.h"

#include "Output.h"
#include "SessionCommandSupport.h"

#include <RivodeRavudaVU/RivodeMessages.h>

namespace rivode::cli {

bool SessionRecordAccess::Open(const CommandOptions& options, const std::string& pathText,
                               CommandFailure& failure) {
    if (!ParseItemPath(pathText, path_, failure) || !LoadSessionProtocols(options, failure)) {
        return false;
    }
    YReportMessageParams report;
    session_ = Sessions().OpenSession(path_, report);
    record_ = dynamic_cast<SessionConfig*>(session_.get());
    if (record_ == nullptr) {
        // A session whose file cannot be read says why; only a missing one is "no session".
        failure = session_ || report.GetMessageId() == rivode::msg::SessionItemNotFound
                      ? StoreFailure("there is no session \"" + pathText +
                                     "\" (rivode sessions --tree lists them)")
                      : StoreFailure(ReportText(report));
        return false;
    }
    return true;
}

const std::vector<SessionValue>& SessionRecordAccess::Values() {
    if (values_.empty()) {
        record_->ForEachValue([this](YProfileData& value) {
            values_.push_back({ToUtf8(value.GetName()), &value});
        });
    }
    return values_;
}

YProfileData* SessionRecordAccess::Find(const std::string& name, ExitStatus status,
                                        CommandFailure& failure) {
    for (const SessionValue& entry : Values()) {
        if (entry.name == name) {
            return entry.value;
        }
    }
    failure = {status, "the session has no value \"" + name +
                           "\" (names are compared exactly; rivode session show lists them)"};
    return nullptr;
}

bool SessionRecordAccess::Save(CommandFailure& failure) {
    if (record_->HasUnknownProtocol()) {
        failure = StoreFailure(
            "the session names a protocol no loaded module offers; saving it "
            "would replace that protocol (rivode products shows the modules)");
        return false;
    }
    YReportMessageParams report;
    // The default session may not be stored yet: it is the one session saved by creating it.
    if (!Sessions().SaveSession(*record_, path_ == kDefaultSessionName, report)) {
        failure = ReportFailure(report);
        return false;
    }
    return true;
}

}  // namespace rivode::cli
