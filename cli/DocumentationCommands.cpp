#include "DocumentationCommands.h"

#include "CommandTable.h"
#include "CompletionScript.h"
#include "ManualPage.h"
#include "Output.h"
#include "StandardInput.h"

#include <RivodeRavudaVU/YUnicodeString.h>

#ifndef RIVODE_VERSION_TEXT
#define RIVODE_VERSION_TEXT "unknown"
#endif

namespace rivode::cli {
namespace {

// Every line of standard input, up to its end.
std::vector<std::string> ReadAllInputLines() {
    std::vector<std::string> lines;
    YUnicodeString line;
    CommandFailure ended;
    while (ReadInputText("", "example", false, line, ended)) {
        lines.push_back(ToUtf8(line));
    }
    return lines;
}

// Prints text, whose lines end with a line break, one line at a time.
void PrintText(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        PrintLine(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

class DocumentationCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions&) override {
        app_ = &app;
        completion_ = app.add_subcommand(
            "completion", "Print the shell completion script of rivode for bash or zsh");
        completion_->add_option("SHELL", shell_, "bash or zsh")
            ->required()
            ->check(CLI::IsMember({"bash", "zsh"}));
        completion_->footer(
            "bash: source <(rivode completion bash); zsh: source <(rivode completion zsh), or "
            "save it as _rivode in a folder of $fpath.");
        // For the build, which writes the manual page the packages install; not for people.
        manpage_ = app.add_subcommand("manpage", "Print the manual page rivode(1) in roff");
        manpage_->group("");
        manpage_->add_flag("--examples-stdin", examplesFromInput_,
                           "Read example lines (command # explanation) from standard input");
    }

    std::optional<ExitStatus> Run(const CommandOptions&) override {
        if (completion_->parsed()) {
            const CommandEntry table = ReadCommandTable(*app_);
            PrintText(shell_ == "zsh" ? ZshCompletionScript(table) : BashCompletionScript(table));
            return ExitOk;
        }
        if (manpage_->parsed()) {
            const std::vector<ManualExample> examples =
                examplesFromInput_ ? ParseManualExamples(ReadAllInputLines())
                                   : std::vector<ManualExample>();
            PrintText(ManualPage(ReadCommandTable(*app_), RIVODE_VERSION_TEXT, examples));
            return ExitOk;
        }
        return std::nullopt;
    }

private:
    CLI::App* app_ = nullptr;
    CLI::App* completion_ = nullptr;
    CLI::App* manpage_ = nullptr;
    std::string shell_;
    bool examplesFromInput_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeDocumentationCommands() {
    return std::make_unique<DocumentationCommands>();
}

}  // namespace rivode::cli
