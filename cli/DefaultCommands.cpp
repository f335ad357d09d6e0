// default set|apply: the default session ("Default"), the template of new sessions, and the
// values the user chooses to give every session from it.
//
// Only values the user names reach the sessions. The stored "Default" also holds values that were
// derived from the environment when it was first saved (the global send delays, the user's
// folders, the keyword-list name): taking every value that differs from freshly derived defaults
// as a change would overwrite the sessions' own values whenever the environment moved, with no
// undo. A session's protocol never changes this way either.
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "Output.h"
#include "SessionCommandSupport.h"
#include "SessionRecordAccess.h"
#include "SessionValueSetting.h"

#include <RivodeRavudaVU/SessionConfig.h>

#include <algorithm>
#include <functional>

namespace rivode::cli {
namespace {

constexpr const char* kDefaultPath = "Default";

constexpr const char* kApplyForms =
    "rivode default apply NAME... gives every session those values of the default session; "
    "rivode default set NAME VALUE... --apply-to-all changes one value of the default session "
    "and gives it to every session";

// "updated 7 of 10 sessions; 2 read-only, 1 no space": the causes that have a count.
std::string SummaryLine(const ApplyToAllCounts& counts) {
    std::string line = "updated " + std::to_string(counts.updated) + " of " +
                       std::to_string(counts.seen) + " sessions";
    const std::pair<std::size_t, const char*> causes[] = {
        {counts.readOnly, "read-only"},
        {counts.noSpace, "no space"},
        {counts.permission, "permission denied"},
        {counts.other, "other"},
        {counts.unknownProtocol, "protocol module not loaded"},
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

using ApplyWalk = std::function<ApplyToAllCounts(const ApplyToAllFailureSink&)>;

// Runs walk over every session and prints its counts; each failed save says which session, which
// file and why: on stderr as it happens, or in the JSON document.
ExitStatus ApplyToAll(const CommandOptions& options, const ApplyWalk& walk) {
    nlohmann::json failures = nlohmann::json::array();
    const ApplyToAllCounts counts =
        walk([&](const YUnicodeString& path, YReportMessageParams& report) {
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
                   {"unknownProtocol", counts.unknownProtocol},
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

CommandFailure ProtocolRefusal(const std::string& name) {
    return UsageFailure("\"" + name +
                        "\" is not applied to sessions: each session keeps its own protocol "
                        "(change it with rivode session set)");
}

ExitStatus RunSet(const CommandOptions& options, const std::string& name,
                  const std::vector<std::string>& words, bool applyToAll,
                  bool passphraseFromInput) {
    SessionRecordAccess defaults;
    CommandFailure failure;
    YProfileData* value = nullptr;
    if (!defaults.Open(options, kDefaultPath, failure) ||
        (value = defaults.Find(name, ExitUsage, failure)) == nullptr) {
        return Fail(failure);
    }
    SessionConfig& record = defaults.Record();
    if (applyToAll && IsProtocolNameValue(record, *value)) {
        return Fail(ProtocolRefusal(name));
    }
    if (!SetSessionValue(options, record, *value, name, words, passphraseFromInput, failure)) {
        return Fail(failure);
    }
    // Saving takes the new value as loaded; the copy keeps it as the one change to apply.
    const bool changed = record.IsModified();
    const YRefPtr<ISessionConfig> change = record.Clone();
    if (!defaults.Save(failure)) {
        return Fail(failure);
    }
    if (!applyToAll) {
        return ExitOk;
    }
    // A value the default session already held is no change, but the user asked every session
    // to take it.
    return ApplyToAll(options, [&](const ApplyToAllFailureSink& sink) {
        return changed ? Sessions().ApplyDefaultSessionChangesToAll(*change, sink)
                       : Sessions().ApplyDefaultSessionValuesToAll(*change, {FromUtf8(name)}, sink);
    });
}

ExitStatus RunApply(const CommandOptions& options, std::vector<std::string> names) {
    if (names.empty()) {
        return Fail(UsageFailure(std::string("name the values to apply: ") + kApplyForms));
    }
    // Applying values of a default session that was never stored would store it first.
    CommandFailure failure;
    if (!Sessions().IsSession(YUnicodeString(kDefaultSessionName))) {
        return Fail(
            StoreFailure("the default session is not stored yet: it holds no values of "
                         "its own to apply (" +
                         std::string(kApplyForms) + ")"));
    }
    SessionRecordAccess defaults;
    if (!defaults.Open(options, kDefaultPath, failure)) {
        return Fail(failure);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::vector<YUnicodeString> chosen;
    for (const std::string& name : names) {
        const YProfileData* value = defaults.Find(name, ExitUsage, failure);
        if (value == nullptr) {
            return Fail(failure);
        }
        if (IsProtocolNameValue(defaults.Record(), *value)) {
            return Fail(ProtocolRefusal(name));
        }
        chosen.push_back(FromUtf8(name));
    }
    return ApplyToAll(options, [&](const ApplyToAllFailureSink& sink) {
        return Sessions().ApplyDefaultSessionValuesToAll(defaults.Record(), chosen, sink);
    });
}

constexpr const char* kCountsJson =
    "Print JSON: {\"updated\", \"seen\", \"readOnly\", \"noSpace\", \"permission\", \"other\", "
    "\"unknownProtocol\", \"failures\": [{\"session\", \"message\"}]}";

class DefaultCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* defaults = app.add_subcommand("default", "Work with the default session");
        defaults->require_subcommand(1);
        set_ = defaults->add_subcommand(
            "set",
            "Change one value of the default session (the template of new sessions); with "
            "--apply-to-all every session takes that value too (no undo). A session's protocol "
            "is never changed that way, a protocol's own value (its port) reaches only sessions "
            "of that protocol, and a session whose protocol module is not loaded is left alone. "
            "Exit status 1 when some sessions could not be updated");
        CompleteWith(
            *set_->add_option("NAME", name_, "The value's name, case included")->required(),
            CompletionKind::Listed, "session show Default");
        set_->add_option("VALUE", words_,
                         "The new value, as for rivode session set. An encrypted value's "
                         "plaintext is read from standard input instead");
        set_->add_flag("--apply-to-all", applyToAll_,
                       "Give every session the new value and print how many took it");
        set_->add_flag("--passphrase-stdin", passphraseFromInput_,
                       "Read the configuration passphrase from the first line of standard input "
                       "(before the plaintext of an encrypted value)");
        set_->add_flag("--json", options.json, std::string("With --apply-to-all: ") + kCountsJson);
        apply_ = defaults->add_subcommand(
            "apply",
            "Give every session the named values of the stored default session (no undo); "
            "other values keep each session's own. Protocol names are not applied, a "
            "protocol's own values reach only sessions of that protocol, and a session whose "
            "protocol module is not loaded is left alone. Exit status 1 when some "
            "sessions could not be updated: each failure and the counts per cause go to "
            "standard error");
        CompleteWith(*apply_->add_option("NAME", names_,
                                         "The values' names, case included (rivode session "
                                         "show Default lists them)"),
                     CompletionKind::Listed, "session show Default");
        apply_->add_flag("--json", options.json, kCountsJson);
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (set_->parsed()) {
            return RunSet(options, name_, words_, applyToAll_, passphraseFromInput_);
        }
        if (apply_->parsed()) {
            return RunApply(options, names_);
        }
        return std::nullopt;
    }

private:
    CLI::App* set_ = nullptr;
    CLI::App* apply_ = nullptr;
    std::string name_;
    std::vector<std::string> words_;
    std::vector<std::string> names_;
    bool applyToAll_ = false;
    bool passphraseFromInput_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeDefaultCommands() {
    return std::make_unique<DefaultCommands>();
}

}  // namespace rivode::cli
