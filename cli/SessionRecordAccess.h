// One stored session opened by a command that reads or changes its record as a whole (its key
// map, its color scheme), and saved back the way the session commands save.
#pragma once

#include "cli/CommandOptions.h"
#include "cli/ExitStatus.h"

#include <RivodeRavudaVU/SessionConfig.h>

#include <string>

namespace rivode::cli {

class SessionRecordAccess {
public:
    // Loads the protocol modules, then the session at pathText. false with the failure when the
    // path is malformed (usage) or names no session.
    [[nodiscard]] bool Open(const CommandOptions& options, const std::string& pathText,
                            CommandFailure& failure);
    SessionConfig& Record() { return *record_; }
    // Stores the record; the default session is created when it is not stored yet. A session
    // whose protocol no loaded module offers is refused, as its protocol would be replaced.
    [[nodiscard]] bool Save(CommandFailure& failure);

private:
    YUnicodeString path_;
    YRefPtr<ISessionConfig> session_;
    SessionConfig* record_ = nullptr;
};

}  // namespace rivode::cli
