// keymap check|show|write|read|functions: ".key" files and the key maps sessions store.
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "Output.h"
#include "SessionCommandSupport.h"
#include "SessionRecordAccess.h"

#include <RivodeRavudaVU/KeymapLine.h>
#include <RivodeRavudaVU/ProfileKeymap.h>

namespace rivode::cli {
namespace {

// The key as editors show it: the modifier prefix, then the key's name.
std::string KeyText(std::uint32_t key) {
    return ToUtf8(KeyModifiersToString(key) + KeyCodeToName(GetUnmodifiedKey(key)));
}

void PrintMappings(const Keymap& map, bool json) {
    const std::vector<KeyMapEntry> entries = map.GetSortedEntries();
    if (json) {
        nlohmann::json rows = nlohmann::json::array();
        for (const KeyMapEntry& entry : entries) {
            rows.push_back({{"key", KeyText(entry.key)},
                            {"code", entry.key},
                            {"function", ToUtf8(FunctionCodeToName(entry.functionCode))},
                            {"value", ToUtf8(entry.value)},
                            {"arguments", ToUtf8(entry.arguments)}});
        }
        PrintJson(rows);
        return;
    }
    for (const KeyMapEntry& entry : entries) {
        PrintLine(KeyText(entry.key) + "\t" + ToUtf8(FunctionCodeToName(entry.functionCode)) +
                  "\t" + ToUtf8(entry.value) + "\t" + ToUtf8(entry.arguments));
    }
}

// Loads a ".key" file; a file with lines in error is refused with the library's message.
bool LoadKeymapFile(const std::string& path, Keymap& map, CommandFailure& failure) {
    YReportMessageParams report;
    if (!map.LoadFile(FromUtf8(path), report) || !report.IsSuccess()) {
        failure = ReportFailure(report);
        return false;
    }
    return true;
}

ExitStatus RunCheck(const CommandOptions& options, const std::string& path) {
    Keymap map;
    YReportMessageParams report;
    KeymapParseState state;
    const bool loaded = map.LoadFile(FromUtf8(path), report, state);
    if (options.json) {
        nlohmann::json errors = nlohmann::json::array();
        for (const auto& error : state.errors) {
            errors.push_back({{"line", error.lineNumber}, {"message", ToUtf8(error.text)}});
        }
        PrintJson(
            {{"file", path}, {"loaded", loaded}, {"mappings", map.GetSize()}, {"errors", errors}});
    } else {
        for (const auto& error : state.errors) {
            PrintLine(std::to_string(error.lineNumber) + "\t" + ToUtf8(error.text));
        }
    }
    return loaded ? ExitOk : Fail(ReportFailure(report));
}

ExitStatus RunShow(const CommandOptions& options, const std::string& file,
                   const std::string& session) {
    if (file.empty() == session.empty()) {
        return Fail(UsageFailure("give either a .key FILE or --session PATH"));
    }
    CommandFailure failure;
    if (!session.empty()) {
        SessionRecordAccess record;
        if (!record.Open(options, session, failure)) {
            return Fail(failure);
        }
        PrintMappings(record.Record().terminalConfig.keymap, options.json);
        return ExitOk;
    }
    Keymap map;
    if (!LoadKeymapFile(file, map, failure)) {
        return Fail(failure);
    }
    PrintMappings(map, options.json);
    return ExitOk;
}

ExitStatus RunWrite(const CommandOptions& options, const std::string& session,
                    const std::string& file) {
    SessionRecordAccess record;
    CommandFailure failure;
    if (!record.Open(options, session, failure)) {
        return Fail(failure);
    }
    Keymap map(record.Record().terminalConfig.keymap);
    YReportMessageParams report;
    if (!map.SaveFile(FromUtf8(file), report)) {
        return Fail(ReportFailure(report));
    }
    return ExitOk;
}

ExitStatus RunRead(const CommandOptions& options, const std::string& file,
                   const std::string& session) {
    Keymap map;
    CommandFailure failure;
    SessionRecordAccess record;
    if (!LoadKeymapFile(file, map, failure) || !record.Open(options, session, failure)) {
        return Fail(failure);
    }
    record.Record().terminalConfig.keymap.AssignMappings(map);
    return record.Save(failure) ? ExitOk : Fail(failure);
}

ExitStatus RunFunctions(const CommandOptions& options) {
    const auto table = GetKeymapFunctionTable();
    // The last row only ends the table.
    const auto rows = table.first(table.size() - 1);
    if (options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const KeymapFunction& row : rows) {
            list.push_back({{"code", row.code}, {"name", ToUtf8(row.name)}});
        }
        PrintJson(list);
        return ExitOk;
    }
    for (const KeymapFunction& row : rows) {
        PrintLine(std::to_string(row.code) + "\t" + ToUtf8(row.name));
    }
    return ExitOk;
}

class KeymapCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* keymap = app.add_subcommand(
            "keymap", "Check, show and copy key maps (.key files and sessions')");
        keymap->require_subcommand(1);
        check_ = keymap->add_subcommand(
            "check",
            "Load a .key file and list its errors: line TAB message (exit 1 when the "
            "load fails)");
        CompleteWith(*check_->add_option("FILE", file_, "The .key file")->required(),
                     CompletionKind::File, "*.key");
        check_->add_flag("--json", options.json,
                         "Print JSON: {\"file\", \"loaded\", \"mappings\", \"errors\": "
                         "[{\"line\", \"message\"}]}");
        show_ = keymap->add_subcommand(
            "show",
            "One mapping a line, in stored order: key TAB function TAB value TAB "
            "arguments");
        CompleteWith(*show_->add_option("FILE", file_, "The .key file"), CompletionKind::File,
                     "*.key");
        CompleteWith(*show_->add_option("--session", session_, kSessionPathHelp),
                     CompletionKind::Session);
        show_->add_flag("--json", options.json,
                        "Print JSON: an array of {\"key\", \"code\", \"function\", \"value\", "
                        "\"arguments\"}");
        write_ = keymap->add_subcommand("write", "Write a session's own key map to a .key file");
        CompleteWith(*write_->add_option("--session", session_, kSessionPathHelp)->required(),
                     CompletionKind::Session);
        CompleteWith(*write_->add_option("FILE", file_, "The .key file to write")->required(),
                     CompletionKind::File, "*.key");
        read_ = keymap->add_subcommand(
            "read",
            "Replace a session's own key map by the mappings of a .key file (a file with "
            "errors is refused)");
        CompleteWith(*read_->add_option("FILE", file_, "The .key file to read")->required(),
                     CompletionKind::File, "*.key");
        CompleteWith(*read_->add_option("--session", session_, kSessionPathHelp)->required(),
                     CompletionKind::Session);
        functions_ = keymap->add_subcommand("functions", "The function table: code TAB name");
        functions_->add_flag("--json", options.json,
                             "Print JSON: an array of {\"code\", \"name\"}");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (check_->parsed()) {
            return RunCheck(options, file_);
        }
        if (show_->parsed()) {
            return RunShow(options, file_, session_);
        }
        if (write_->parsed()) {
            return RunWrite(options, session_, file_);
        }
        if (read_->parsed()) {
            return RunRead(options, file_, session_);
        }
        if (functions_->parsed()) {
            return RunFunctions(options);
        }
        return std::nullopt;
    }

private:
    CLI::App* check_ = nullptr;
    CLI::App* show_ = nullptr;
    CLI::App* write_ = nullptr;
    CLI::App* read_ = nullptr;
    CLI::App* functions_ = nullptr;
    std::string file_;
    std::string session_;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeKeymapCommands() {
    return std::make_unique<KeymapCommands>();
}

}  // namespace rivode::cli
