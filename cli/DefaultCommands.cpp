// default apply: the changes the user made to the default session, applied to every session.
//
// The changes are the values of the stored "Default" that differ from the built-in defaults: a
// record of built-in defaults takes the stored default session's values as its current ones, so
// that exactly those count as changed. A value the user never changed in "Default" keeps each
// session's own value, whatever it is; a value changed and later set back to its built-in default
// is not applied either (nothing tells it apart from one never changed).
#include "cli/CommandGroup.h"
#include "cli/Output.h"
#include "cli/SessionCommandSupport.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>

namespace rivode::cli {
namespace {

ExitStatus RunApply(const CommandOptions& options) {
    CommandFailure failure;
    if (!LoadSessionProtocols(options, failure)) {
        return Fail(failure);
    }
    const YRefPtr<ISessionConfig> stored =
        Sessions().OpenSession(YUnicodeString(kDefaultSessionName));
    const YRefPtr<SessionConfig> changes = CreateSessionConfig();
    changes->Load(nullptr);
    changes->CopyFrom(dynamic_cast<const SessionConfig&>(*stored));
    const ApplyToAllCounts counts = Sessions().ApplyDefaultSessionChangesToAll(*changes);
    const std::size_t readOnly = counts.seen - counts.updated;
    if (options.json) {
        PrintJson({{"updated", counts.updated}, {"seen", counts.seen}, {"readOnly", readOnly}});
    } else {
        PrintLine("updated " + std::to_string(counts.updated) + " of " +
                  std::to_string(counts.seen) + " sessions; " + std::to_string(readOnly) +
                  " read-only");
    }
    if (readOnly == 0) {
        return ExitOk;
    }
    YReportMessageParams report(rivode::msg::DefaultSessionReadOnlySessions);
    report.AddString(std::to_string(counts.seen));
    report.AddString(std::to_string(readOnly));
    return Fail(ReportFailure(report));
}

class DefaultCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* defaults = app.add_subcommand("default", "Work with the default session");
        defaults->require_subcommand(1);
        apply_ = defaults->add_subcommand(
            "apply",
            "Apply the values of the default session that differ from the built-in defaults to "
            "every session (no undo). Exit status 1 when some sessions are read-only");
        apply_->add_flag("--json", options.json,
                         "Print JSON: {\"updated\", \"seen\", \"readOnly\"}");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (!apply_->parsed()) {
            return std::nullopt;
        }
        return RunApply(options);
    }

private:
    CLI::App* apply_ = nullptr;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeDefaultCommands() {
    return std::make_unique<DefaultCommands>();
}

}  // namespace rivode::cli
