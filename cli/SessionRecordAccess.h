// One stored session opened by a command that reads or changes its record (its values by name,
// its key map, its color scheme), and saved back the way the session commands save.
#pragma once

#include "CommandOptions.h"
#include "ExitStatus.h"

#include <RivodeRavudaVU/SessionConfig.h>

#include <string>
#include <vector>

namespace rivode::cli {

// A value of the record, by its UTF-8 name.
struct SessionValue {
    std::string name;
    YProfileData* value = nullptr;
};

class SessionRecordAccess {
public:
    // Loads the protocol modules, then the session at pathText. false with the failure when the
    // path is malformed (usage), names no session, or the session's file cannot be read (the
    // library's reason).
    [[nodiscard]] bool Open(const CommandOptions& options, const std::string& pathText,
                            CommandFailure& failure);
    SessionConfig& Record() { return *record_; }
    // Every value of the record, in the order ForEachValue visits them.
    const std::vector<SessionValue>& Values();
    // The value of that exact name; nullptr with a failure of status otherwise.
    YProfileData* Find(const std::string& name, ExitStatus status, CommandFailure& failure);
    // Stores the record; the default session is created when it is not stored yet. A session
    // whose protocol no loaded module offers is refused, as its protocol would be replaced.
    [[nodiscard]] bool Save(CommandFailure& failure);

private:
    YUnicodeString path_;
    YRefPtr<ISessionConfig> session_;
    SessionConfig* record_ = nullptr;
    std::vector<SessionValue> values_;
};

}  // namespace rivode::cli
