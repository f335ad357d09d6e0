// credentials list|show|new|set|rename|delete: the saved credentials. Secrets come from
// standard input only; the passphrase they are enciphered under comes from the start-up flow.
#include "CommandGroup.h"
#include "Output.h"
#include "PassphraseStartup.h"
#include "SessionCommandSupport.h"
#include "StandardInput.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YConsole.h>
#include <RivodeRavudaVU/ConfigPassphraseStartup.h>
#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YSecretText.h>

namespace rivode::cli {
namespace {

ExitStatus RunList(const CommandOptions& options) {
    nlohmann::json rows = nlohmann::json::array();
    for (const YUnicodeString& title : GetSavedCredentialTitles()) {
        SavedCredential credential;
        YReportMessageParams report;
        const bool loaded = LoadSavedCredential(title, credential, report);
        const std::string user = loaded ? ToUtf8(credential.username.Get()) : "";
        if (options.json) {
            rows.push_back({{"title", ToUtf8(title)}, {"username", user}});
        } else {
            PrintLine(ToUtf8(title) + "\t" + user);
        }
    }
    if (options.json) {
        PrintJson(rows);
    }
    return ExitOk;
}

ExitStatus RunShow(const CommandOptions& options, const std::string& title) {
    SavedCredential credential;
    YReportMessageParams report;
    if (!LoadSavedCredential(FromUtf8(title), credential, report)) {
        return Fail(ReportFailure(report));
    }
    const bool hasSecret = !credential.password.GetEncryptedText().empty();
    if (options.json) {
        PrintJson({{"title", ToUtf8(credential.GetTitle())},
                   {"username", ToUtf8(credential.username.Get())},
                   {"secretStored", hasSecret}});
        return ExitOk;
    }
    PrintLine("title: " + ToUtf8(credential.GetTitle()));
    PrintLine("username: " + ToUtf8(credential.username.Get()));
    PrintLine(std::string("secret stored: ") + (hasSecret ? "yes" : "no"));
    return ExitOk;
}

// new and set: the user name from the argument, the secret from the next input line.
ExitStatus RunStore(const CommandOptions& options, const std::string& title,
                    const std::string& user, bool isNew, bool passphraseFromInput) {
    SavedCredential credential;
    YReportMessageParams report;
    const YUnicodeString wanted = FromUtf8(title);
    if (!isNew && !LoadSavedCredential(wanted, credential, report)) {
        return Fail(ReportFailure(report));
    }
    credential.SetTitle(isNew ? wanted : credential.GetTitle());
    credential.username = FromUtf8(user);
    CommandFailure failure;
    if (!ValidateSavedCredential(isNew ? YUnicodeString() : credential.GetTitle(),
                                 credential.GetTitle(), credential.username, report)) {
        return Fail(ReportFailure(report));
    }
    if (!EstablishPassphrase(options, passphraseFromInput, failure)) {
        return Fail(failure);
    }
    YSecretText secret;
    if (!ReadInputText("Secret: ", "secret", true, secret.Text(), failure)) {
        return Fail(failure);
    }
    if (!UpdateProfileEncryptedString(credential.password, secret.Text())) {
        return Fail(StoreFailure("the secret could not be encrypted (sensitive data is off)"));
    }
    if (!SaveSavedCredential(isNew ? YUnicodeString() : credential.GetTitle(), credential,
                             report)) {
        return Fail(ReportFailure(report));
    }
    return ExitOk;
}

ExitStatus RunRename(const CommandOptions& options, const std::string& oldText,
                     const std::string& newText) {
    CommandFailure failure;
    if (!LoadSessionProtocols(options, failure)) {
        return Fail(failure);
    }
    SavedCredential credential;
    YReportMessageParams report;
    if (!LoadSavedCredential(FromUtf8(oldText), credential, report)) {
        return Fail(ReportFailure(report));
    }
    const YUnicodeString oldTitle = credential.GetTitle();
    const YUnicodeString newTitle = FromUtf8(newText);
    credential.SetTitle(newTitle);
    if (!SaveSavedCredential(oldTitle, credential, report)) {
        return Fail(ReportFailure(report));
    }
    YReportMessageParams text(msg::UpdatingCredentialSessions);
    text.AddString(YGetAppName());
    text.AddString(oldTitle);
    text.AddString(newTitle);
    YReportMessageParams sessionFailure;
    const CredentialRenameCounts counts = UpdateSessionDatabaseWithCredentialChanges(
        oldTitle, newTitle, &text, nullptr, &sessionFailure);
    if (options.json) {
        PrintJson(
            {{"sessions", counts.seen}, {"updated", counts.updated}, {"failed", counts.failed}});
    } else {
        PrintLine(std::to_string(counts.updated) + " of " + std::to_string(counts.seen) +
                  " sessions were updated");
    }
    return counts.failed == 0 ? ExitOk : ExitFailure;
}

ExitStatus RunDelete(const std::string& title, bool yes) {
    if (!yes) {
        YReportMessageParams question = GetDeleteSavedCredentialQuestion();
        YUnicodeString answer;
        const bool asked =
            YHasConsoleTerminal() &&
            ReadConsoleLine(FromUtf8(ReportText(question) + " [y/N] "), false, u'*', true, answer);
        if (!asked) {
            return Fail(UsageFailure(ReportText(question) + "\nconfirm with --yes"));
        }
        if (answer != u"y" && answer != u"Y" && answer != u"yes") {
            return Fail(StoreFailure("nothing was deleted"));
        }
    }
    YReportMessageParams report;
    if (!DeleteSavedCredential(FromUtf8(title), report)) {
        return Fail(ReportFailure(report));
    }
    return ExitOk;
}

class CredentialCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* group = app.add_subcommand("credentials", "Saved credentials");
        group->require_subcommand(1);
        list_ = group->add_subcommand("list", "Titles and user names, one a line");
        list_->add_flag("--json", options.json, "An array of {\"title\", \"username\"}");
        show_ = group->add_subcommand("show", "One credential (never its secret)");
        show_->add_option("TITLE", title_)->required();
        show_->add_flag("--json", options.json, "One JSON object");
        new_ = group->add_subcommand("new", "Store a new credential; the secret on standard input");
        set_ = group->add_subcommand("set", "Change a credential; the secret on standard input");
        for (CLI::App* command : {new_, set_}) {
            command->add_option("TITLE", title_)->required();
            command->add_option("--user", user_, "The user name")->required();
            command->add_flag("--passphrase-stdin", passphraseFromInput_,
                              "Read the configuration passphrase from the first line of "
                              "standard input, before the secret's line");
        }
        rename_ = group->add_subcommand("rename",
                                        "Rename a credential and every session's reference to it");
        rename_->add_option("OLD", title_)->required();
        rename_->add_option("NEW", newTitle_)->required();
        rename_->add_flag("--json", options.json, "{\"sessions\", \"updated\", \"failed\"}");
        delete_ = group->add_subcommand("delete", "Delete a credential (there is no undo)");
        delete_->add_option("TITLE", title_)->required();
        delete_->add_flag("--yes", yes_, "Do not ask first");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (list_->parsed()) {
            return RunList(options);
        }
        if (show_->parsed()) {
            return RunShow(options, title_);
        }
        if (new_->parsed() || set_->parsed()) {
            return RunStore(options, title_, user_, new_->parsed(), passphraseFromInput_);
        }
        if (rename_->parsed()) {
            return RunRename(options, title_, newTitle_);
        }
        if (delete_->parsed()) {
            return RunDelete(title_, yes_);
        }
        return std::nullopt;
    }

private:
    CLI::App* list_ = nullptr;
    CLI::App* show_ = nullptr;
    CLI::App* new_ = nullptr;
    CLI::App* set_ = nullptr;
    CLI::App* rename_ = nullptr;
    CLI::App* delete_ = nullptr;
    std::string title_;
    std::string newTitle_;
    std::string user_;
    bool passphraseFromInput_ = false;
    bool yes_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeCredentialCommands() {
    return std::make_unique<CredentialCommands>();
}

}  // namespace rivode::cli
