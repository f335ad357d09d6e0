// import-text: sessions made in bulk from a delimited text file, one session a line, each a copy
// of the default session. The library's import wizard does the reading and the creating; rivode
// chooses its options from the command line, prints its preview and then lets it import.
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "Output.h"
#include "PassphraseStartup.h"
#include "SessionCommandSupport.h"

#include <RivodeRavudaVU/FileSessionCreationWizard.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <algorithm>
#include <array>
#include <map>

namespace rivode::cli {
namespace {

// The words of --fields, in the order of ImportField.
constexpr std::array<const char*, kImportFieldCount> kFieldWords = {
    "host", "folder", "name", "user", "password", "protocol", "emulation"};

const std::map<std::string, ImportDelimiter> kDelimiters = {
    {"comma", ImportDelimiter::Comma},
    {"tab", ImportDelimiter::Tab},
    {"space", ImportDelimiter::Space},
    {"semicolon", ImportDelimiter::Semicolon},
    {"none", ImportDelimiter::None}};

std::string FieldWord(ImportField field) {
    const auto index = static_cast<std::size_t>(field);
    return index < kFieldWords.size() ? kFieldWords[index] : "";
}

// "host,name" -> the fields in that order; each at most once.
bool ParseFields(const std::string& text, std::vector<ImportField>& fields,
                 CommandFailure& failure) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        const auto found = std::find(kFieldWords.begin(), kFieldWords.end(), word);
        const auto field = static_cast<ImportField>(found - kFieldWords.begin());
        if (found == kFieldWords.end() ||
            std::find(fields.begin(), fields.end(), field) != fields.end()) {
            failure = UsageFailure(
                "--fields takes the fields of a line in their order, each once, "
                "separated by commas: host, folder, name, user, password, "
                "protocol, emulation (not \"" +
                word + "\")");
            return false;
        }
        fields.push_back(field);
    }
    return true;
}

// The problems of an entry that do not stop it, as the import will report them.
std::vector<std::string> EntryProblems(const SessionImportEntry& entry) {
    std::vector<std::string> problems;
    const auto add = [&problems](std::uint32_t id, const YUnicodeString& insert) {
        YReportMessageParams report(id);
        report.AddString(insert);
        problems.push_back(ReportText(report));
    };
    if (entry.prepared.folderInvalid) {
        add(msg::ImportedFolderInvalid, entry.prepared.folder);
    }
    if (!entry.prepared.extraText.empty()) {
        add(msg::ImportedExtraData, entry.prepared.extraText);
    }
    for (const YReportMessageParams& note : entry.notes) {
        problems.push_back(ReportText(note));
    }
    return problems;
}

std::string JoinProblems(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& problem : problems) {
        text += (text.empty() ? "" : " | ") + problem;
    }
    return text;
}

// One entry a line: the line number, the folder and the name, the other fields' values in the
// order of --fields, then any problem.
void PrintPreviewLine(const FileSessionCreationWizardBase& wizard,
                      const SessionImportEntry& entry) {
    const PreparedSession& prepared = entry.prepared;
    std::string line =
        std::to_string(entry.lineNumber) + "\t" +
        ToUtf8(prepared.folderInvalid ? LoadMessageString(msg::ImportInvalidFolderMark)
                                      : prepared.folder) +
        "\t" + ToUtf8(prepared.name);
    const std::vector<ImportField>& fields = wizard.GetFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i] != ImportField::Folder && fields[i] != ImportField::SessionName) {
            line += "\t" + ToUtf8(entry.columns[i]);
        }
    }
    const std::vector<std::string> problems = EntryProblems(entry);
    if (!problems.empty()) {
        line += "\t" + JoinProblems(problems);
    }
    PrintLine(line);
}

nlohmann::json PreviewJson(const FileSessionCreationWizardBase& wizard,
                           const SessionImportEntry& entry) {
    nlohmann::json values = nlohmann::json::object();
    const std::vector<ImportField>& fields = wizard.GetFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        values[FieldWord(fields[i])] = ToUtf8(entry.columns[i]);
    }
    return {{"line", entry.lineNumber},
            {"folder", ToUtf8(entry.prepared.folder)},
            {"folderValid", !entry.prepared.folderInvalid},
            {"name", ToUtf8(entry.prepared.name)},
            {"fields", values},
            {"extraText", ToUtf8(entry.prepared.extraText)},
            {"problems", EntryProblems(entry)}};
}

struct ImportTextChoices {
    std::string file;
    std::string fields;
    std::string delimiter = "comma";
    bool dryRun = false;
    bool passphraseFromInput = false;
};

ExitStatus RunImportText(const CommandOptions& options, const ImportTextChoices& choices) {
    FileSessionCreationWizardBase wizard;
    std::vector<ImportField> fields;
    CommandFailure failure;
    if (!ParseFields(choices.fields, fields, failure)) {
        return Fail(failure);
    }
    wizard.SetFields(fields);
    wizard.SetDelimiter(kDelimiters.at(choices.delimiter));
    YReportMessageParams report;
    if (!wizard.ValidateOptions(report)) {
        return Fail(UsageFailure(ReportText(report)));
    }
    if (!wizard.SetFile(FromUtf8(choices.file), report)) {
        return Fail(ReportFailure(report));
    }
    if (!LoadSessionProtocols(options, failure)) {
        return Fail(failure);
    }
    // Passwords are enciphered as the lines are read, under the passphrase the sessions will be
    // read with.
    const bool storesPasswords =
        std::find(fields.begin(), fields.end(), ImportField::Password) != fields.end();
    if (storesPasswords && !choices.dryRun &&
        !EstablishPassphrase(options, choices.passphraseFromInput, failure)) {
        return Fail(failure);
    }
    if (!wizard.ReadEntries(report)) {
        return Fail(ReportFailure(report));
    }

    const std::size_t lines = wizard.GetEntries().size() + wizard.GetSkippedLines().size();
    nlohmann::json preview = nlohmann::json::array();
    for (const SessionImportEntry& entry : wizard.GetEntries()) {
        if (options.json) {
            preview.push_back(PreviewJson(wizard, entry));
        } else {
            PrintPreviewLine(wizard, entry);
        }
    }
    std::vector<std::string> skipped;
    for (const YReportMessageParams& reason : wizard.GetSkippedLines()) {
        skipped.push_back(ReportText(reason));
        PrintNote(skipped.back());
    }

    std::size_t created = 0;
    if (!choices.dryRun) {
        // Warnings were shown with the preview and created sessions are counted: only the
        // sessions that could not be stored are told as they happen.
        const SessionImportResult result = wizard.Import();
        for (const YReportMessageParams& reason : result.skipped) {
            skipped.push_back(ReportText(reason));
            PrintNote(skipped.back());
        }
        created = result.created;
    }
    const std::size_t left = choices.dryRun ? wizard.GetSkippedLines().size() : lines - created;
    if (options.json) {
        PrintJson({{"entries", preview},
                   {"skipped", skipped},
                   {"created", created},
                   {"notCreated", left},
                   {"dryRun", choices.dryRun}});
    } else if (choices.dryRun) {
        PrintLine(std::to_string(wizard.GetEntries().size()) + " sessions would be created, " +
                  std::to_string(left) + " lines skipped (dry run: nothing was written)");
    } else {
        PrintLine(std::to_string(created) + " sessions created, " + std::to_string(left) +
                  " lines skipped");
    }
    return left == 0 ? ExitOk : ExitFailure;
}

class ImportTextCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        command_ = app.add_subcommand(
            "import-text",
            "Make sessions from a delimited text file, one session a line, each a copy of the "
            "default session; prints the preview, then imports");
        CompleteWith(*command_->add_option("FILE", choices_.file, "The text file")->required(),
                     CompletionKind::File);
        command_
            ->add_option("--fields", choices_.fields,
                         "The values of a line in their order, separated by commas: host, "
                         "folder, name, user, password, protocol, emulation")
            ->required()
            ->type_name("LIST");
        std::vector<std::string> delimiters;
        for (const auto& [word, delimiter] : kDelimiters) {
            delimiters.push_back(word);
        }
        command_
            ->add_option("--delimiter", choices_.delimiter,
                         "What separates the values (default comma); none: the whole line "
                         "is one value, for a single field")
            ->check(CLI::IsMember(delimiters));
        command_->add_flag("--dry-run", choices_.dryRun, "Print the preview, write nothing");
        command_->add_flag("--passphrase-stdin", choices_.passphraseFromInput,
                           "Read the configuration passphrase the passwords are enciphered under "
                           "from the first line of standard input");
        command_->add_flag("--json", options.json,
                           "Print JSON: {\"entries\": [{\"line\", \"folder\", \"folderValid\", "
                           "\"name\", \"fields\", \"extraText\", \"problems\"}], \"skipped\", "
                           "\"created\", \"notCreated\", \"dryRun\"}");
        command_->footer(
            "Exit status: 0 every line that is not empty became a session, 1 some did not (or "
            "the file could not be read: then nothing was written), 2 wrong command line.");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (command_->parsed()) {
            return RunImportText(options, choices_);
        }
        return std::nullopt;
    }

private:
    CLI::App* command_ = nullptr;
    ImportTextChoices choices_;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeImportTextCommands() {
    return std::make_unique<ImportTextCommands>();
}

}  // namespace rivode::cli
