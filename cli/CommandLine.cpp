#include "CommandLine.h"

#include "CommandGroup.h"
#include "Commands.h"
#include "CompletionHint.h"
#include "DocumentationCommands.h"
#include "HostSetup.h"
#include "Output.h"

#include <RivodeRavudaVU/YDiagnosticTrace.h>
#include <RivodeRavudaVU/YXmlFileStore.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace rivode::cli {

namespace {

void PrintTraceLine(const YUnicodeString& line, void*) {
    PrintNote("trace: " + ToUtf8(line));
}

constexpr const char* kKeyPathHelp = "Key names separated by \\ (or /); empty for the root key";

// The parsed command line: the options every command shares and the chosen subcommand.
class RivodeArguments {
public:
    RivodeArguments()
        : app_("Shows and edits the keys and values of a configuration folder.", "rivode") {
        app_.add_option("--config", configFolder_,
                        "The configuration folder (default: $XDG_CONFIG_HOME/yarrowby/Config), "
                        "or an XML settings file (*.xml) to read")
            ->type_name("DIR|FILE.xml");
        app_.add_option("--personal", personalFolder_,
                        "The personal-data folder beside the configuration folder")
            ->type_name("DIR");
        app_.add_option("--product", options_.product,
                        "The product rivode acts for: 3 Quillterm (default), 6 Quillfile, "
                        "1, 7, 8 Wyrmlink, 9 Ferrule")
            ->type_name("N")
            ->check(CLI::IsMember({1, 3, 6, 7, 8, 9}));
        app_.add_flag(
                "--trace", trace_,
                "Print the library's diagnostic trace lines (a folder it could not list, a "
                "protocol no module offers) on standard error; also when the environment variable "
                "RIVODE_TRACE is set")
            ->envname("RIVODE_TRACE");
        // Lets the folder options follow the command too: rivode keys --config DIR.
        app_.fallthrough();
        app_.require_subcommand(0, 1);
        app_.failure_message([](const CLI::App* app, const CLI::Error& error) {
            return "rivode: " + CLI::FailureMessage::simple(app, error);
        });
        app_.footer(
            "Without a command, rivode describes the configuration folder.\n"
            "Exit status: 0 done, 1 failed or not found, 2 wrong command line.");

        keys_ = app_.add_subcommand("keys", "List the subkeys of a key, one a line");
        CompleteWith(*keys_->add_option("KEYPATH", options_.keyPath, kKeyPathHelp),
                     CompletionKind::KeyPath);
        AddJsonFlag(*keys_, "An array of {\"name\", \"kind\"}");

        values_ = app_.add_subcommand("values", "List the values of a key: name, kind, value");
        CompleteWith(*values_->add_option("KEYPATH", options_.keyPath, kKeyPathHelp),
                     CompletionKind::KeyPath);
        AddJsonFlag(*values_, "An array of {\"name\", \"kind\", \"value\"}");

        get_ = app_.add_subcommand("get", "Print one value");
        AddValueAddress(*get_);
        AddJsonFlag(*get_, "The value as a JSON number, string or array");

        set_ = app_.add_subcommand("set", "Store one value, creating the key when missing");
        AddValueAddress(*set_);
        CLI::Option_group* newValue =
            set_->add_option_group("new value", "Exactly one of these gives the new value");
        dword_ = newValue->add_option("--dword", value_.text, "A number: decimal or 0x hex")
                     ->type_name("N");
        string_ =
            newValue->add_option("--string", value_.text, "A text of one line")->type_name("TEXT");
        binary_ = newValue->add_option("--binary", value_.text, "Bytes in hex, blanks allowed")
                      ->type_name("HEX");
        // The items are split off before parsing (see Parse), so they may be anything a text
        // can be: empty, or starting with '-'.
        multi_ = newValue->add_flag("--multi")
                     ->description("A list of texts: every argument after it is one item")
                     ->type_name("ITEM...");
        newValue->require_option(1);

        delete_ = app_.add_subcommand("delete", "Remove one value");
        AddValueAddress(*delete_);

        deleteKey_ = app_.add_subcommand("delete-key", "Remove a key with all it holds");
        CompleteWith(*deleteKey_->add_option("KEYPATH", options_.keyPath, kKeyPathHelp)->required(),
                     CompletionKind::KeyPath);

        for (const auto& group : groups_) {
            group->Add(app_, options_);
        }
        documentation_->Add(app_, options_);
    }

    // The exit status when the command line cannot run a command (help included), else -1.
    int Parse(int argc, char** argv) {
        std::vector<std::string> arguments(argv + 1, argv + argc);
        const auto multi = std::find(arguments.begin(), arguments.end(), "--multi");
        if (multi != arguments.end()) {
            value_.items.assign(multi + 1, arguments.end());
            arguments.erase(multi + 1, arguments.end());
        }
        // CLI11 takes the arguments last first.
        std::reverse(arguments.begin(), arguments.end());
        try {
            app_.parse(arguments);
        } catch (const CLI::ParseError& error) {
            return app_.exit(error) == 0 ? ExitOk : ExitUsage;
        }
        return -1;
    }

    ExitStatus Run() {
        // Before the host is prepared: describing the command line touches no configuration.
        if (const std::optional<ExitStatus> status = documentation_->Run(options_)) {
            return *status;
        }
        std::string problem;
        if (app_.get_option("--config")->count() != 0) {
            if (!NormaliseFolderArgument(configFolder_, options_.folders.main, problem)) {
                return Fail(UsageFailure(problem));
            }
            options_.folders.source = FolderSource::CommandLine;
            options_.folders.settingsFile = IsXmlSettingsFilePath(FromUtf8(options_.folders.main));
        }
        if (app_.get_option("--personal")->count() != 0) {
            if (!NormaliseFolderArgument(personalFolder_, options_.folders.personal, problem)) {
                return Fail(UsageFailure(problem));
            }
            options_.folders.personalFromCommandLine = true;
            if (options_.folders.settingsFile) {
                return Fail(UsageFailure(
                    "--personal names a personal-data folder, which an XML settings file has "
                    "not: its personal values are in the file"));
            }
        }
        if (trace_) {
            SetDiagnosticTraceSink(&PrintTraceLine, nullptr);
        }
        FindRecordedFolders(options_.product, options_.folders);
        PrepareConsoleHost(options_.folders, options_.product);
        if (keys_->parsed()) {
            return RunKeys(options_);
        }
        if (values_->parsed()) {
            return RunValues(options_);
        }
        if (get_->parsed()) {
            return RunGet(options_);
        }
        if (set_->parsed()) {
            value_.kind = ChosenValueKind();
            return RunSet(options_, value_);
        }
        if (delete_->parsed()) {
            return RunDelete(options_);
        }
        if (deleteKey_->parsed()) {
            return RunDeleteKey(options_);
        }
        for (const auto& group : groups_) {
            if (const std::optional<ExitStatus> status = group->Run(options_)) {
                return *status;
            }
        }
        return RunDescribe(options_);
    }

private:
    void AddJsonFlag(CLI::App& command, const char* shape) {
        command.add_flag("--json", options_.json, std::string("Print JSON: ") + shape);
    }

    void AddValueAddress(CLI::App& command) {
        CompleteWith(*command.add_option("KEYPATH", options_.keyPath, kKeyPathHelp)->required(),
                     CompletionKind::KeyPath);
        command.add_option("NAME", options_.valueName, "The value's name, case included")
            ->required();
    }

    int ChosenValueKind() const {
        if (dword_->count() != 0) {
            return ValueKindDword;
        }
        if (string_->count() != 0) {
            return ValueKindString;
        }
        if (binary_->count() != 0) {
            return ValueKindBinary;
        }
        return multi_->count() != 0 ? ValueKindMultiString : ValueKindUnknown;
    }

    CLI::App app_;
    CommandOptions options_;
    std::vector<std::unique_ptr<CommandGroup>> groups_ = MakeCommandGroups();
    std::unique_ptr<CommandGroup> documentation_ = MakeDocumentationCommands();
    ValueArgument value_;
    std::string configFolder_;
    std::string personalFolder_;
    bool trace_ = false;
    CLI::App* keys_ = nullptr;
    CLI::App* values_ = nullptr;
    CLI::App* get_ = nullptr;
    CLI::App* set_ = nullptr;
    CLI::App* delete_ = nullptr;
    CLI::App* deleteKey_ = nullptr;
    CLI::Option* dword_ = nullptr;
    CLI::Option* string_ = nullptr;
    CLI::Option* binary_ = nullptr;
    CLI::Option* multi_ = nullptr;
};

}  // namespace

int RunCommandLine(int argc, char** argv) {
    RivodeArguments arguments;
    const int parseStatus = arguments.Parse(argc, argv);
    if (parseStatus >= 0) {
        return parseStatus;
    }
    const ExitStatus status = arguments.Run();
    if (!FinishOutput()) {
        return Fail(StoreFailure("cannot write the results to the standard output"));
    }
    return status;
}

}  // namespace rivode::cli
