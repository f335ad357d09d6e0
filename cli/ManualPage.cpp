#include "ManualPage.h"

#include <string_view>

namespace rivode::cli {
namespace {

// text as roff text: backslashes print as such, and a line never starts with a control
// character. Hyphens that are options print as minus signs (\-), so they can be searched for
// and copied.
std::string Roff(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (lineStart && (c == '.' || c == '\'')) {
            out += "\\&";
        }
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '-' ||
                                text[i - 1] == '[' || text[i - 1] == '(')) {
            out += "\\-";
        } else {
            out += c;
        }
        lineStart = c == '\n';
    }
    return out;
}

std::string Bold(std::string_view text) {
    return "\\fB" + Roff(text) + "\\fR";
}

std::string Italic(std::string_view text) {
    return "\\fI" + Roff(text) + "\\fR";
}

std::string OptionTag(const OptionEntry& option) {
    std::string tag;
    for (const std::string& name : option.names) {
        tag += (tag.empty() ? "" : ", ") + Bold(name);
    }
    if (!option.valueName.empty()) {
        tag += " " + Italic(option.valueName);
    }
    return tag;
}

bool IsHelp(const OptionEntry& option) {
    for (const std::string& name : option.names) {
        if (name == "--help") {
            return true;
        }
    }
    return false;
}

// "rivode session show [options] PATH": the command as typed, its arguments in the order given.
std::string Synopsis(const CommandEntry& command) {
    std::string line = Bold("rivode" + (command.path.empty() ? "" : " " + JoinPath(command.path)));
    for (std::size_t i = 0; i < command.ownOptionCount; ++i) {
        if (!IsHelp(command.options[i])) {
            line += " [" + Italic("options") + "]";
            break;
        }
    }
    if (!command.subcommands.empty()) {
        const std::string word = Italic("command");
        line += command.needsSubcommand ? " " + word : " [" + word + "]";
    }
    for (const PositionalEntry& positional : command.positionals) {
        const std::string word =
            Italic(positional.name) + (positional.repeats ? "\\ .\\|.\\|." : "");
        line += positional.required ? " " + word : " [" + word + "]";
    }
    return line + "\n";
}

std::string Item(const std::string& tag, const std::string& description) {
    return ".TP\n" + tag + "\n" + Roff(description) + "\n";
}

std::string CommandSection(const CommandEntry& command) {
    std::string text = ".SS " + Roff(JoinPath(command.path)) + "\n" + Synopsis(command) + ".br\n" +
                       Roff(command.description) + ".\n";
    for (const PositionalEntry& positional : command.positionals) {
        text += Item(Italic(positional.name), positional.description);
    }
    for (std::size_t i = 0; i < command.ownOptionCount; ++i) {
        if (!IsHelp(command.options[i])) {
            text += Item(OptionTag(command.options[i]), command.options[i].description);
        }
    }
    if (!command.subcommands.empty()) {
        text += ".PP\nIts commands:";
        for (const CommandEntry& sub : command.subcommands) {
            text += " " + Bold(sub.path.back()) + (&sub == &command.subcommands.back() ? "." : ",");
        }
        text += "\n";
    }
    return text;
}

// "Shows the keys." -> "shows the keys": the one-line summary of the NAME section.
std::string Summary(std::string text) {
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    return text;
}

// Each line of text as a paragraph of its own.
std::string Paragraphs(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (!line.empty()) {
            out += ".PP\n" + Roff(line) + "\n";
        }
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return out;
}

constexpr std::string_view kEnvironment =
    ".SH ENVIRONMENT\n"
    ".TP\n\\fBXDG_CONFIG_HOME\\fR\n"
    "The default configuration folder is \\fI$XDG_CONFIG_HOME/yarrowby/Config\\fR "
    "(\\fI~/.config/yarrowby/Config\\fR when it is unset); the per-user settings are kept "
    "under \\fI$XDG_CONFIG_HOME/yarrowby/registry\\fR.\n"
    ".TP\n\\fBYARROWBY_REGISTRY\\fR\n"
    "Another folder for the per-user settings.\n"
    ".TP\n\\fBLC_ALL\\fR, \\fBLC_MESSAGES\\fR, \\fBLANG\\fR\n"
    "The language of messages: French (Canada) for fr_CA, English otherwise.\n";

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::vector<ManualExample> ParseManualExamples(const std::vector<std::string>& lines) {
    constexpr std::string_view kSourceTreeCommand = "scripts/rivode";
    std::vector<ManualExample> examples;
    for (const std::string& line : lines) {
        std::string command = line;
        std::string explanation;
        const std::size_t hash = line.find(" #");
        if (hash != std::string::npos) {
            command = line.substr(0, hash);
            explanation = Trimmed(line.substr(hash + 2));
        }
        command = Trimmed(command);
        if (command.empty()) {
            continue;
        }
        for (std::size_t at = command.find(kSourceTreeCommand); at != std::string::npos;
             at = command.find(kSourceTreeCommand, at)) {
            command.replace(at, kSourceTreeCommand.size(), "rivode");
        }
        examples.push_back({command, explanation});
    }
    return examples;
}

std::string ManualPage(const CommandEntry& root, const std::string& version,
                       const std::vector<ManualExample>& examples) {
    std::string page =
        ".\\\" Written by `rivode manpage` from rivode's own command line.\n"
        ".TH RIVODE 1 \"\" \"RivodeRavudaVU " +
        Roff(version) + "\" \"User Commands\"\n" +
        // Long paths and option texts read better ragged than stretched.
        ".ad l\n.nh\n.SH NAME\nrivode \\- " + Roff(Summary(root.description)) + "\n.SH SYNOPSIS\n" +
        Synopsis(root) + ".SH DESCRIPTION\n" + Roff(root.description) + "\n" +
        Paragraphs(root.footer) + ".PP\n" + "Every command takes " + Bold("--help") +
        ", which describes it and its options.\n.SH OPTIONS\n";
    for (std::size_t i = 0; i < root.ownOptionCount; ++i) {
        page += Item(OptionTag(root.options[i]), root.options[i].description);
    }
    page += ".PP\nThese options may also follow the command.\n.SH COMMANDS\n";
    for (const CommandEntry* command : FlattenCommands(root)) {
        if (!command->path.empty()) {
            page += CommandSection(*command);
        }
    }
    page += kEnvironment;
    if (!examples.empty()) {
        page += ".SH EXAMPLES\n";
        for (const ManualExample& example : examples) {
            page += example.explanation.empty() ? ".PP\n" + Bold(example.command) + "\n"
                                                : Item(Bold(example.command), example.explanation);
        }
    }
    return page;
}

}  // namespace rivode::cli
