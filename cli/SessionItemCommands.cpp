// session new|rename|move|delete: sessions as items of the session tree. Every change keeps the
// folders' stored order, and names are checked by the library's rules, whose messages rivode
// prints as they stand.
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "Output.h"
#include "SessionCommandSupport.h"

#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionNameValidation.h>

namespace rivode::cli {
namespace {

struct NewSessionChoices {
    std::string protocol;
    std::string host;
    std::string user;
};

// The name rules for a new session at path, with the library's own messages.
bool ValidateNewSessionPath(const YUnicodeString& path, CommandFailure& failure) {
    YReportMessageParams report;
    if (Sessions().ValidateNewItemPath(path, false, report)) {
        return true;
    }
    failure = ReportFailure(report);
    return false;
}

// The protocol goes into the side its module serves.
bool ChooseProtocol(ISessionConfig& session, const std::string& protocol, CommandFailure& failure) {
    const ConnectProtocolEntry* entry = GetConnectProtocolTable().Find(FromUtf8(protocol));
    if (entry == nullptr) {
        failure = UsageFailure("no loaded protocol module offers \"" + protocol +
                               "\" (they offer " + LoadedProtocolNames() + ")");
        return false;
    }
    if (SessionProtocolSlot::Suits(SessionProtocolSlot::Side::Terminal, entry->product)) {
        session.SetProtocolName(entry->name);
    } else {
        session.SetTransferProtocolName(entry->name);
    }
    return true;
}

ExitStatus RunNew(const CommandOptions& options, const std::string& pathText,
                  const NewSessionChoices& choices) {
    YUnicodeString path;
    CommandFailure failure;
    if (!ParseItemPath(pathText, path, failure) || !LoadSessionProtocols(options, failure)) {
        return Fail(failure);
    }
    if (!ValidateNewSessionPath(path, failure)) {
        return Fail(failure);
    }
    // A new session starts as a copy of the default session, the user's template.
    const YRefPtr<ISessionConfig> defaults =
        Sessions().OpenSession(YUnicodeString(kDefaultSessionName));
    const YRefPtr<ISessionConfig> session = defaults->Clone();
    session->SetPath(path);
    if (!choices.protocol.empty() && !ChooseProtocol(*session, choices.protocol, failure)) {
        return Fail(failure);
    }
    auto& remoteHost = dynamic_cast<SessionConfig&>(*session).remoteHostConfig;
    if (!choices.host.empty()) {
        remoteHost.hostname.Set(FromUtf8(choices.host));
    }
    if (!choices.user.empty()) {
        remoteHost.username.Set(FromUtf8(choices.user));
    }
    YReportMessageParams report;
    if (!Sessions().SaveSession(*session, true, report)) {
        return Fail(ReportFailure(report));
    }
    return ExitOk;
}

class SessionItemCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions&) override {
        CLI::App& session = SessionCommand(app);
        new_ = session.add_subcommand(
            "new", "Make a session as a copy of the default session and store it");
        // Completes the folders the new session may go into.
        CompleteWith(*new_->add_option("PATH", path_, kSessionPathHelp)->required(),
                     CompletionKind::Folder);
        new_->add_option("--protocol", choices_.protocol,
                         "The session's protocol, one the loaded modules offer (rivode products)")
            ->type_name("P");
        new_->add_option("--host", choices_.host, "The remote host's name")->type_name("H");
        new_->add_option("--user", choices_.user, "The user name to log on with")->type_name("U");
        items_.Add(session, kSessionPathHelp);
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (new_->parsed()) {
            return RunNew(options, path_, choices_);
        }
        return items_.Run();
    }

private:
    CLI::App* new_ = nullptr;
    std::string path_;
    NewSessionChoices choices_;
    ItemCommands items_{ItemKind::Session};
};

}  // namespace

std::unique_ptr<CommandGroup> MakeSessionItemCommands() {
    return std::make_unique<SessionItemCommands>();
}

}  // namespace rivode::cli
