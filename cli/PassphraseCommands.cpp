// passphrase status|create|change|remove|reset: the configuration passphrase. Passphrases come
// from the terminal (masked) or, without one, from lines of standard input; never from
// arguments.
#include "CommandGroup.h"
#include "Output.h"
#include "SessionCommandSupport.h"
#include "StandardInput.h"

#include <DavaraZE/YConsole.h>
#include <RivodeRavudaVU/ConfigPassphraseDialogs.h>
#include <RivodeRavudaVU/ConfigPassphraseStartup.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/YSecretText.h>

#include <optional>

namespace rivode::cli {
namespace {

// One passphrase: masked on the terminal when there is one, else the next line of input.
bool ReadSecret(const char* prompt, YUnicodeString& text, CommandFailure& failure) {
    if (YHasConsoleTerminal()) {
        if (ReadConsoleLine(FromUtf8(prompt), true, u'*', true, text)) {
            return true;
        }
        failure = StoreFailure("cancelled");
        return false;
    }
    return ReadInputText(prompt, "passphrase", true, text, failure);
}

// A new passphrase: twice on the terminal, once from standard input.
bool ReadNewSecret(const char* prompt, PassphraseDialogBase& dialog, CommandFailure& failure) {
    if (!ReadSecret(prompt, dialog.passphrase, failure)) {
        return false;
    }
    if (!YHasConsoleTerminal()) {
        dialog.confirmation = dialog.passphrase;
        return true;
    }
    return ReadSecret("Re-enter the new configuration passphrase: ", dialog.confirmation, failure);
}

bool Validate(const PassphraseDialogBase& dialog, CommandFailure& failure) {
    YReportMessageParams report;
    if (dialog.Validate(report)) {
        return true;
    }
    failure = StoreFailure(ReportText(report));
    return false;
}

ExitStatus ReportConversion(bool changed, const SensitiveDataResult& result,
                            YReportMessageParams& report) {
    PrintLine(std::to_string(result.converted) +
              " sensitive values are now encrypted with the "
              "new passphrase; " +
              std::to_string(result.notConverted) +
              " could not be deciphered and were left as they were (" +
              std::to_string(result.records) + " records)");
    if (!changed) {
        return Fail(StoreFailure(ReportText(report)));
    }
    return ExitOk;
}

YUnicodeString CheckText() {
    return GetGlobalConfig()->configPassphrase.GetEncryptedText();
}

ExitStatus RunStatus(const CommandOptions& options) {
    const ConfigPassphraseState state = GetConfigPassphraseState(options.product);
    if (options.json) {
        PrintJson({{"established", state.established},
                   {"inUse", state.inUse},
                   {"disabled", state.disabled},
                   {"changePending", state.changePending},
                   {"requiredByPolicy", state.required},
                   {"conversionPending", state.conversionPending}});
        return ExitOk;
    }
    PrintLine(std::string("established: ") + (state.established ? "yes" : "no"));
    PrintLine(std::string("in use: ") + (state.inUse ? "yes" : "no"));
    PrintLine(std::string("disabled: ") + (state.disabled ? "yes" : "no"));
    PrintLine(std::string("change pending: ") + (state.changePending ? "yes" : "no"));
    PrintLine(std::string("required by policy: ") + (state.required ? "yes" : "no"));
    if (state.conversionPending) {
        PrintLine("an interrupted change is finished at the next start");
    }
    return ExitOk;
}

ExitStatus RunCreate(const CommandOptions& options, bool none) {
    // Held while the passphrase is entered and changed: the user's processes starting
    // meanwhile wait for the outcome instead of asking for a passphrase about to change.
    YReportMessageParams busy;
    const ConfigPassphraseEntryClaim claim(busy);
    if (!claim.IsHeld()) {
        return Fail(StoreFailure(ReportText(busy)));
    }
    CommandFailure failure;
    const ConfigPassphraseState state = GetConfigPassphraseState(options.product);
    if (state.established) {
        return Fail(StoreFailure(
            "a configuration passphrase is already established: use passphrase change"));
    }
    CreatePassphraseDialogBase dialog(options.product, false);
    const YWipeTextOnExit wipePassphrase(dialog.passphrase);
    const YWipeTextOnExit wipeConfirmation(dialog.confirmation);
    dialog.withPassphrase = !none;
    // Sessions are rewritten: without their protocols' modules they would lose those values.
    if (!LoadSessionProtocols(options, failure)) {
        return Fail(failure);
    }
    if (!none && !ReadNewSecret("New configuration passphrase: ", dialog, failure)) {
        return Fail(failure);
    }
    if (!Validate(dialog, failure)) {
        return Fail(failure);
    }
    if (none && state.required) {
        YReportMessageParams required(0x6138016F);
        return Fail(StoreFailure(ReportText(required)));
    }
    SensitiveDataResult result;
    YReportMessageParams report;
    const YSecretText chosen(dialog.GetChosenPassphrase());
    const bool changed =
        ChangeConfigPassphrase(options.product, YUnicodeString(), chosen.Text(), result, report);
    return ReportConversion(changed, result, report);
}

ExitStatus RunChange(const CommandOptions& options, ChangeConfigPassphraseDialogBase::Mode mode,
                     bool yes) {
    using Mode = ChangeConfigPassphraseDialogBase::Mode;
    // Held while the passphrase is entered and changed: the user's processes starting
    // meanwhile wait for the outcome instead of asking for a passphrase about to change.
    YReportMessageParams busy;
    const ConfigPassphraseEntryClaim claim(busy);
    if (!claim.IsHeld()) {
        return Fail(StoreFailure(ReportText(busy)));
    }
    CommandFailure failure;
    const ConfigPassphraseState state = GetConfigPassphraseState(options.product);
    if (!state.established && mode != Mode::Reset) {
        return Fail(
            StoreFailure("no configuration passphrase is established: use passphrase create"));
    }
    ChangeConfigPassphraseDialogBase dialog(options.product, CheckText(), state.required);
    const YWipeTextOnExit wipeOld(dialog.oldPassphrase);
    const YWipeTextOnExit wipePassphrase(dialog.passphrase);
    const YWipeTextOnExit wipeConfirmation(dialog.confirmation);
    dialog.mode = mode;
    if (!LoadSessionProtocols(options, failure)) {
        return Fail(failure);
    }
    if (mode != Mode::Reset &&
        !ReadSecret("Current configuration passphrase: ", dialog.oldPassphrase, failure)) {
        return Fail(failure);
    }
    if (mode != Mode::Remove && !ReadNewSecret("New configuration passphrase: ", dialog, failure)) {
        return Fail(failure);
    }
    if (!Validate(dialog, failure)) {
        return Fail(failure);
    }
    if (mode == Mode::Reset && !yes) {
        YUnicodeString answer;
        const bool asked = YHasConsoleTerminal() &&
                           ReadConsoleLine(
                               u"Every stored password and other secret will be lost. Reset the "
                               u"configuration passphrase? [y/N] ",
                               false, u'*', true, answer);
        if (!asked) {
            return Fail(UsageFailure("reset loses every stored secret: confirm with --yes"));
        }
        if (answer != u"y" && answer != u"Y" && answer != u"yes") {
            return Fail(StoreFailure("nothing was reset"));
        }
    }
    // The copy the change is handed goes with the dialog's own texts.
    std::optional<YUnicodeString> old;
    std::optional<YWipeTextOnExit> wipeCopy;
    if (mode != Mode::Reset) {
        wipeCopy.emplace(old.emplace(dialog.oldPassphrase));
    }
    SensitiveDataResult result;
    YReportMessageParams report;
    const YSecretText chosen(dialog.GetNewPassphrase());
    const bool changed =
        ChangeConfigPassphrase(options.product, old, chosen.Text(), result, report);
    return ReportConversion(changed, result, report);
}

class PassphraseCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* group = app.add_subcommand(
            "passphrase", "Show, create, change, remove or reset the configuration passphrase");
        group->require_subcommand(1);
        status_ = group->add_subcommand("status", "Whether a passphrase is established and used");
        status_->add_flag("--json", options.json, "Print one JSON object");
        create_ = group->add_subcommand(
            "create", "Establish a passphrase (typed twice on the terminal, or one input line)");
        create_->add_flag("--none", none_, "Establish explicitly that there is no passphrase");
        change_ = group->add_subcommand(
            "change", "Re-encrypt every stored secret under a new passphrase (old, then new)");
        remove_ = group->add_subcommand(
            "remove", "Re-encrypt every stored secret without a passphrase (old)");
        reset_ = group->add_subcommand(
            "reset", "Start over with a new passphrase: every stored secret is lost");
        reset_->add_flag("--yes", yes_, "Do not ask before losing the stored secrets");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        using Mode = ChangeConfigPassphraseDialogBase::Mode;
        if (status_->parsed()) {
            return RunStatus(options);
        }
        if (create_->parsed()) {
            return RunCreate(options, none_);
        }
        if (change_->parsed()) {
            return RunChange(options, Mode::Change, false);
        }
        if (remove_->parsed()) {
            return RunChange(options, Mode::Remove, false);
        }
        if (reset_->parsed()) {
            return RunChange(options, Mode::Reset, yes_);
        }
        return std::nullopt;
    }

private:
    CLI::App* status_ = nullptr;
    CLI::App* create_ = nullptr;
    CLI::App* change_ = nullptr;
    CLI::App* remove_ = nullptr;
    CLI::App* reset_ = nullptr;
    bool none_ = false;
    bool yes_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakePassphraseCommands() {
    return std::make_unique<PassphraseCommands>();
}

}  // namespace rivode::cli
