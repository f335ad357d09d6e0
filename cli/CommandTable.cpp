#include "CommandTable.h"

#include <algorithm>

namespace rivode::cli {
namespace {

// "N:{1,3,6}" -> {"1", "3", "6"}: the list an IsMember check puts in the help type.
std::vector<std::string> ChoicesOf(const std::string& typeName) {
    const std::size_t open = typeName.find('{');
    const std::size_t close = typeName.rfind('}');
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return {};
    }
    std::vector<std::string> choices;
    std::string choice;
    for (const char c : typeName.substr(open + 1, close - open - 1)) {
        if (c == ',') {
            choices.push_back(choice);
            choice.clear();
        } else if (c != ' ') {
            choice += c;
        }
    }
    choices.push_back(choice);
    return choices;
}

// The help type without the validators' descriptions: "N:{1,3,6}" -> "N".
std::string BareTypeName(const std::string& typeName) {
    return typeName.substr(0, typeName.find(':'));
}

OptionEntry ReadOption(CLI::Option& option) {
    OptionEntry entry;
    for (const std::string& name : option.get_snames()) {
        entry.names.push_back("-" + name);
    }
    for (const std::string& name : option.get_lnames()) {
        entry.names.push_back("--" + name);
    }
    entry.takesValue = option.get_items_expected_max() > 0;
    // A flag may name what follows it for the help alone (--multi ITEM...).
    if (entry.takesValue || !option.get_type_name().empty()) {
        entry.valueName = BareTypeName(option.get_type_name());
    }
    if (entry.takesValue) {
        entry.choices = ChoicesOf(option.get_type_name());
    }
    entry.description = option.get_description();
    entry.hint = CompletionHintOf(option);
    return entry;
}

PositionalEntry ReadPositional(CLI::Option& option) {
    PositionalEntry entry;
    entry.name = option.get_name(true, false);
    entry.description = option.get_description();
    entry.required = option.get_required();
    entry.repeats = option.get_items_expected_max() > 1;
    entry.choices = ChoicesOf(option.get_type_name());
    entry.hint = CompletionHintOf(option);
    return entry;
}

// Options of app, and of its option groups (nameless subcommands), in the order of the help.
void ReadOptions(CLI::App& app, CommandEntry& entry) {
    for (CLI::Option* option : app.get_options()) {
        if (option->get_group().empty()) {
            continue;  // hidden
        }
        if (option->nonpositional()) {
            OptionEntry read = ReadOption(*option);
            // An option group has a help flag of its own, the same as its command's.
            const bool known =
                std::any_of(entry.options.begin(), entry.options.end(),
                            [&](const OptionEntry& own) { return own.names == read.names; });
            if (!known) {
                entry.options.push_back(std::move(read));
            }
        } else {
            entry.positionals.push_back(ReadPositional(*option));
        }
    }
    for (CLI::App* group : app.get_subcommands([](CLI::App*) { return true; })) {
        if (group->get_name().empty()) {
            ReadOptions(*group, entry);
        }
    }
}

CommandEntry ReadCommand(CLI::App& app, const CommandEntry* parent) {
    CommandEntry entry;
    if (parent != nullptr) {
        entry.path = parent->path;
        entry.path.push_back(app.get_name());
    }
    entry.description = app.get_description();
    entry.footer = app.get_footer();
    ReadOptions(app, entry);
    entry.ownOptionCount = entry.options.size();
    // Options the command does not know pass to the command above it.
    if (parent != nullptr && app.get_fallthrough()) {
        for (const OptionEntry& option : parent->options) {
            const bool shadowed =
                std::any_of(entry.options.begin(), entry.options.end(),
                            [&](const OptionEntry& own) { return own.names == option.names; });
            if (!shadowed) {
                entry.options.push_back(option);
            }
        }
    }
    entry.needsSubcommand = app.get_require_subcommand_min() > 0;
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        if (!sub->get_name().empty() && !sub->get_group().empty()) {
            entry.subcommands.push_back(ReadCommand(*sub, &entry));
        }
    }
    return entry;
}

void Flatten(const CommandEntry& command, std::vector<const CommandEntry*>& all) {
    all.push_back(&command);
    for (const CommandEntry& sub : command.subcommands) {
        Flatten(sub, all);
    }
}

}  // namespace

CommandEntry ReadCommandTable(CLI::App& app) {
    return ReadCommand(app, nullptr);
}

std::string JoinPath(const std::vector<std::string>& path) {
    std::string text;
    for (const std::string& word : path) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

std::vector<const CommandEntry*> FlattenCommands(const CommandEntry& root) {
    std::vector<const CommandEntry*> all;
    Flatten(root, all);
    return all;
}

}  // namespace rivode::cli
