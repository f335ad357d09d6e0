// export FILE / import FILE: the settings file with its ".bak" and ".log" beside it. The log
// lines are printed as the transfer writes them; when the file's sensitive data was enciphered
// under another passphrase, its passphrase is asked for on the terminal or read from standard
// input, or the sensitive data is skipped.
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "Output.h"
#include "PassphraseStartup.h"
#include "StandardInput.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YConsole.h>
#include <RivodeRavudaVU/ConfigPassphraseDialogs.h>
#include <RivodeRavudaVU/ConfigPassphraseStartup.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SettingsTransfer.h>
#include <RivodeRavudaVU/YSecretText.h>

#include <algorithm>

namespace rivode::cli {
namespace {

struct SecretsChoice {
    bool fromInput = false;  // --import-secrets-passphrase-stdin
    bool skip = false;       // --skip-secrets
};

class ConsoleTransferSink final : public IImportExportSink {
public:
    ConsoleTransferSink(int product, SecretsChoice choice) : product_(product), choice_(choice) {}

    void OnLogLine(SettingsLogLevel level, const YUnicodeString& text) override {
        PrintLine(ToUtf8(GetSettingsLogLevelWord(level)) + ": " + ToUtf8(text));
        (void)FinishOutput();
    }

    ImportPassphraseAnswer AskImportPassphrase(const YUnicodeString& importedCheck,
                                               YUnicodeString& passphrase) override {
        if (choice_.skip) {
            return ImportPassphraseAnswer::SkipSensitiveData;
        }
        ImportSettingsPassphraseDialogBase question(product_, importedCheck);
        const YWipeTextOnExit wipeAnswer(question.passphrase);
        if (choice_.fromInput) {
            // One line is all a script gives: a second question means it was wrong.
            if (inputUsed_ || !ReadInputText("Passphrase of the settings file: ", "passphrase",
                                             true, question.passphrase, failure)) {
                return ImportPassphraseAnswer::CancelImport;
            }
            inputUsed_ = true;
        } else if (!AskOnTerminal(question)) {
            return ImportPassphraseAnswer::CancelImport;
        }
        if (!question.importSensitiveData) {
            return ImportPassphraseAnswer::SkipSensitiveData;
        }
        passphrase = question.passphrase;
        return ImportPassphraseAnswer::ImportSensitiveData;
    }

    CommandFailure failure;

private:
    // The dialog's question as text; an empty answer is the dialog's "Do not import".
    bool AskOnTerminal(ImportSettingsPassphraseDialogBase& question) {
        if (!YHasConsoleTerminal()) {
            failure = UsageFailure(
                "the settings file's sensitive data was encrypted with another passphrase: "
                "give --import-secrets-passphrase-stdin or --skip-secrets");
            return false;
        }
        YReportMessageParams text(ImportSettingsPassphraseDialogBase::GetTextId());
        PrintNote(ReportText(text));
        if (!ReadConsoleLine(u"Passphrase of the settings file (empty: do not import sensitive "
                             u"data): ",
                             true, u'*', true, question.passphrase)) {
            failure = StoreFailure("cancelled");
            return false;
        }
        question.importSensitiveData = !question.passphrase.empty();
        return true;
    }

    int product_;
    SecretsChoice choice_;
    bool inputUsed_ = false;
};

struct TransferArguments {
    std::string file;
    bool global = false;
    bool sessions = false;
    bool buttonBars = false;
    bool commands = false;
    bool passphraseFromInput = false;
    SecretsChoice secrets;
};

// The sections named on the command line; none named: what the settings dialog starts with.
unsigned SelectionOf(const TransferArguments& arguments) {
    unsigned mask = (arguments.global ? kSettingsGlobalOptions : 0u) |
                    (arguments.sessions ? kSettingsSessions : 0u) |
                    (arguments.buttonBars ? kSettingsButtonBars : 0u) |
                    (arguments.commands ? kSettingsCommands : 0u);
    if (mask == 0) {
        mask = SettingsSelection(false, true).GetMask();
    }
    return mask;
}

ExitStatus RunTransfer(const CommandOptions& options, const TransferArguments& arguments,
                       bool import) {
    const YUnicodeString path = FromUtf8(arguments.file);
    if (IsFolderInsteadOfSettingsFile(path)) {
        YReportMessageParams refused(msg::SettingsFileNotUsable);
        refused.AddString(path);
        return Fail(UsageFailure(ReportText(refused)));
    }
    if (import && arguments.secrets.fromInput && arguments.secrets.skip) {
        return Fail(UsageFailure(
            "--import-secrets-passphrase-stdin and --skip-secrets exclude each other"));
    }
    CommandFailure failure;
    if (import && !EstablishPassphrase(options, arguments.passphraseFromInput, failure)) {
        return Fail(failure);
    }
    SettingsTransferRequest request;
    request.path = path;
    request.selection = SelectionOf(arguments);
    request.sourceName = YGetAppName();
    request.product = options.product;
    ConsoleTransferSink sink(options.product, arguments.secrets);
    YReportMessageParams report;
    const bool done =
        import ? ImportSettings(request, sink, report) : ExportSettings(request, sink, report);
    if (!sink.failure.message.empty()) {
        return Fail(sink.failure);
    }
    if (!done) {
        return Fail(StoreFailure(ReportText(report)));
    }
    return ExitOk;
}

class SettingsTransferCommands final : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions&) override {
        export_ = app.add_subcommand(
            "export",
            "Write the settings to FILE.xml (the previous one kept as FILE.bak, the "
            "log in FILE.log)");
        AddSections(*export_, exportArguments_);
        import_ =
            app.add_subcommand("import",
                               "Read the settings of FILE.xml into the configuration (the log in "
                               "FILE.log)");
        AddSections(*import_, importArguments_);
        import_->add_flag("--passphrase-stdin", importArguments_.passphraseFromInput,
                          "Read the configuration passphrase from the first line of standard "
                          "input");
        import_->add_flag("--import-secrets-passphrase-stdin", importArguments_.secrets.fromInput,
                          "When the file's secrets use another passphrase, read the file's "
                          "passphrase from the next line of standard input");
        import_->add_flag("--skip-secrets", importArguments_.secrets.skip,
                          "When the file's secrets use another passphrase, import everything "
                          "but the secrets");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (export_->parsed()) {
            return RunTransfer(options, exportArguments_, false);
        }
        if (import_->parsed()) {
            return RunTransfer(options, importArguments_, true);
        }
        return std::nullopt;
    }

private:
    static void AddSections(CLI::App& command, TransferArguments& arguments) {
        CLI::Option* file = command.add_option("FILE", arguments.file,
                                               "The settings file, with or without \".xml\"");
        file->required();
        CompleteWith(*file, CompletionKind::File, "*.xml");
        command.add_flag("--global", arguments.global, "The global options");
        command.add_flag("--sessions", arguments.sessions, "The sessions and their folders");
        command.add_flag("--button-bars", arguments.buttonBars, "The button bars");
        command.add_flag("--commands", arguments.commands, "The saved commands");
        command.footer(
            "Without a section option every section is transferred. Exit status 1 "
            "when a section failed; the log says which.");
    }

    CLI::App* export_ = nullptr;
    CLI::App* import_ = nullptr;
    TransferArguments exportArguments_;
    TransferArguments importArguments_;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeSettingsTransferCommands() {
    return std::make_unique<SettingsTransferCommands>();
}

}  // namespace rivode::cli
