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

#include <RivodeRavudaVU/SessionConfig.h>

namespace rivode::cli {
namespace {

// "updated 7 of 10 sessions; 2 read-only, 1 no space": the causes that have a count.
std::string SummaryLine(const ApplyToAllCounts& counts) {
    std::string line = "updated " + std::to_string(counts.updated) + " of " +
                       std::to_string(counts.seen) + " sessions";
    const std::pair<std::size_t, const char*> causes[] = {
        {counts.readOnly, "read-only"},
        {counts.noSpace, "no space"},
        {counts.permission, "permission denied"},
        {counts.other, "other"},
    };
    const char* separator = "; ";
    for (const auto& [count, cause] : causes) {
        if (count != 0) {
            line += separator + std::to_string(count) + ' ' + cause;
            separator = ", ";
        }
    }
    return line;
}

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
    // Each failed save says which session, which file and why: on stderr as it happens, or
    // in the JSON document.
    nlohmann::json failures = nlohmann::json::array();
    const ApplyToAllCounts counts = Sessions().ApplyDefaultSessionChangesToAll(
        *changes, [&](const YUnicodeString& path, YReportMessageParams& report) {
            if (options.json) {
                failures.push_back({{"session", ToUtf8(path)}, {"message", ReportText(report)}});
            } else {
                Fail(ReportFailure(report));
            }
        });
    if (options.json) {
        PrintJson({{"updated", counts.updated},
                   {"seen", counts.seen},
                   {"readOnly", counts.readOnly},
                   {"noSpace", counts.noSpace},
                   {"permission", counts.permission},
                   {"other", counts.other},
                   {"failures", failures}});
    } else {
        PrintLine(SummaryLine(counts));
    }
    const std::vector<YReportMessageParams> reasons = DescribeApplyToAllFailures(counts);
    for (const YReportMessageParams& reason : reasons) {
        Fail(ReportFailure(reason));
    }
    return reasons.empty() ? ExitOk : ExitFailure;
}

class DefaultCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* defaults = app.add_subcommand("default", "Work with the default session");
        defaults->require_subcommand(1);
        apply_ = defaults->add_subcommand(
            "apply",
            "Apply the values of the default session that differ from the built-in defaults to "
            "every session (no undo). Exit status 1 when some sessions could not be updated: "
            "each failure and the counts per cause go to standard error");
        apply_->add_flag("--json", options.json,
                         "Print JSON: {\"updated\", \"seen\", \"readOnly\", \"noSpace\", "
                         "\"permission\", \"other\", \"failures\": [{\"session\", "
                         "\"message\"}]}");
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
