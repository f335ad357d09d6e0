// keywords list|show|new|add|remove|set|match|rename|delete: the keyword lists under "Keywords".
//
// Keywords are added with the editor's checks (shape for the list's match style, duplicates,
// length) and the list's message on refusal. match prints what the terminal would highlight,
// so scripts can test a list: start TAB length TAB color, one span a line.
#include "ColorText.h"
#include "CommandGroup.h"
#include "Output.h"
#include "SessionCommandSupport.h"

#include <RivodeRavudaVU/KeywordLists.h>
#include <RivodeRavudaVU/KeywordMatcher.h>
#include <RivodeRavudaVU/RivodeMessages.h>

namespace rivode::cli {
namespace {

struct OpenList {
    YUnicodeString name;
    YRefPtr<HighlightConfig> list;
};

bool Open(const std::string& name, OpenList& opened, CommandFailure& failure) {
    YReportMessageParams report;
    opened.list = OpenKeywordList(FromUtf8(name), report, &opened.name);
    if (!opened.list) {
        failure = ReportFailure(report);
        return false;
    }
    return true;
}

ExitStatus Save(OpenList& opened) {
    YReportMessageParams report;
    return SaveKeywordList(opened.name, *opened.list, report) ? ExitOk
                                                              : Fail(ReportFailure(report));
}

ExitStatus RunList(const CommandOptions& options) {
    const YStringArray names = GetKeywordListNames();
    if (options.json) {
        nlohmann::json rows = nlohmann::json::array();
        for (const YUnicodeString& name : names) {
            rows.push_back(ToUtf8(name));
        }
        PrintJson(rows);
        return ExitOk;
    }
    for (const YUnicodeString& name : names) {
        PrintLine(ToUtf8(name));
    }
    return ExitOk;
}

ExitStatus RunShow(const CommandOptions& options, const std::string& name) {
    OpenList opened;
    CommandFailure failure;
    if (!Open(name, opened, failure)) {
        return Fail(failure);
    }
    const std::vector<KeywordLine> lines = opened.list->GetKeywordLines();
    if (options.json) {
        nlohmann::json keywords = nlohmann::json::array();
        for (const KeywordLine& line : lines) {
            keywords.push_back({{"keyword", ToUtf8(line.keyword)},
                                {"color", FormatColorText(line.color)},
                                {"regex", line.regularExpression}});
        }
        PrintJson({{"name", ToUtf8(opened.name)},
                   {"matchCase", opened.list->GetMatchCase()},
                   {"wholeWords", !opened.list->GetRegexLineMode()},
                   {"keywords", keywords}});
        return ExitOk;
    }
    for (const KeywordLine& line : lines) {
        PrintLine(ToUtf8(line.keyword) + "\t" + FormatColorText(line.color) + "\t" +
                  (line.regularExpression ? "1" : "0"));
    }
    return ExitOk;
}

ExitStatus RunNew(const std::string& name) {
    YReportMessageParams report;
    if (!ValidateKeywordListName(u"", FromUtf8(name), true, report)) {
        return Fail(ReportFailure(report));
    }
    OpenList opened{FromUtf8(name), CreateHighlightConfig()};
    return Save(opened);
}

ExitStatus RunAdd(const std::string& name, const std::string& keyword,
                  const std::optional<std::string>& color, bool regularExpression) {
    std::optional<YColor> value = kDefaultKeywordColor;
    if (color && !(value = ParseColorText(*color))) {
        return Fail(UsageFailure("\"" + *color + "\" is no color: give #RRGGBB"));
    }
    OpenList opened;
    CommandFailure failure;
    if (!Open(name, opened, failure)) {
        return Fail(failure);
    }
    const YUnicodeString text = FromUtf8(keyword);
    YReportMessageParams report;
    if (!VerifyKeyword(*opened.list, text, regularExpression, false, report)) {
        return Fail(ReportFailure(report));
    }
    YStringArray lines = opened.list->GetLines();
    lines.push_back(FormatKeywordLine({text, *value, regularExpression}));
    opened.list->SetLines(lines);
    return Save(opened);
}

ExitStatus RunRemove(const std::string& name, const std::string& keyword) {
    OpenList opened;
    CommandFailure failure;
    if (!Open(name, opened, failure)) {
        return Fail(failure);
    }
    YStringArray lines = opened.list->GetLines();
    const YUnicodeString text = FromUtf8(keyword);
    const auto found = std::find_if(lines.begin(), lines.end(), [&](const YUnicodeString& line) {
        const std::optional<KeywordLine> parsed = ParseKeywordLine(line);
        return parsed && parsed->keyword == text;
    });
    if (found == lines.end()) {
        YReportMessageParams report(rivode::msg::KeywordNotInList);
        report.AddString(text);
        return Fail(ReportFailure(report));
    }
    lines.erase(found);
    opened.list->SetLines(lines);
    return Save(opened);
}

ExitStatus RunSet(const std::string& name, const std::string& setting, const std::string& value) {
    if (setting != "match-case" && setting != "whole-words") {
        return Fail(UsageFailure("the setting is match-case or whole-words"));
    }
    if (value != "on" && value != "off") {
        return Fail(UsageFailure("give on or off"));
    }
    OpenList opened;
    CommandFailure failure;
    if (!Open(name, opened, failure)) {
        return Fail(failure);
    }
    if (setting == "match-case") {
        opened.list->SetMatchCase(value == "on");
    } else {
        opened.list->SetRegexLineMode(value == "off");
    }
    return Save(opened);
}

ExitStatus RunMatch(const CommandOptions& options, const std::string& name,
                    const std::string& text) {
    OpenList opened;
    CommandFailure failure;
    if (!Open(name, opened, failure)) {
        return Fail(failure);
    }
    const KeywordMatcher matcher(*opened.list);
    nlohmann::json rows = nlohmann::json::array();
    for (const HighlightSpan& span : matcher.Match(FromUtf8(text))) {
        if (options.json) {
            rows.push_back({{"start", span.start},
                            {"length", span.length},
                            {"color", FormatColorText(span.color)}});
        } else {
            PrintLine(std::to_string(span.start) + "\t" + std::to_string(span.length) + "\t" +
                      FormatColorText(span.color));
        }
    }
    if (options.json) {
        PrintJson(rows);
    }
    return ExitOk;
}

ExitStatus RunRename(const std::string& oldName, const std::string& newName) {
    YReportMessageParams report;
    return RenameKeywordList(FromUtf8(oldName), FromUtf8(newName), report)
               ? ExitOk
               : Fail(ReportFailure(report));
}

ExitStatus RunDelete(const std::string& name) {
    YReportMessageParams report;
    return DeleteKeywordList(FromUtf8(name), report) ? ExitOk : Fail(ReportFailure(report));
}

class KeywordCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* keywords = app.add_subcommand("keywords", "Show and edit the keyword lists");
        keywords->require_subcommand(1);
        list_ = keywords->add_subcommand("list", "The keyword lists, one a line");
        list_->add_flag("--json", options.json, "Print JSON: an array of names");
        show_ = keywords->add_subcommand(
            "show", "A list's keywords: keyword TAB #RRGGBB TAB regex flag (1 or 0), one a line");
        show_->add_option("NAME", name_, "The list (letter case ignored)")->required();
        show_->add_flag("--json", options.json,
                        "Print JSON: {\"name\", \"matchCase\", \"wholeWords\", \"keywords\": "
                        "[{\"keyword\", \"color\", \"regex\"}]}");
        new_ = keywords->add_subcommand("new", "Add an empty list (phrases and substrings)");
        new_->add_option("NAME", name_, "The new list's name")->required();
        add_ = keywords->add_subcommand("add", "Add a keyword at the end of a list");
        add_->add_option("NAME", name_, "The list (letter case ignored)")->required();
        add_->add_option("KEYWORD", keyword_, "The word, phrase or regular expression")->required();
        add_->add_option("--color", color_, "Its color, #RRGGBB (default #FF0000)");
        add_->add_flag("--regex", regex_, "The keyword is a regular expression");
        remove_ = keywords->add_subcommand("remove", "Remove a keyword (its first occurrence)");
        remove_->add_option("NAME", name_, "The list (letter case ignored)")->required();
        remove_->add_option("KEYWORD", keyword_, "The keyword as shown")->required();
        set_ = keywords->add_subcommand("set", "Set match-case or whole-words on or off");
        set_->add_option("NAME", name_, "The list (letter case ignored)")->required();
        set_->add_option("SETTING", setting_, "match-case or whole-words")->required();
        set_->add_option("VALUE", keyword_, "on or off")->required();
        match_ = keywords->add_subcommand(
            "match", "What the list highlights in TEXT: start TAB length TAB #RRGGBB a span");
        match_->add_option("NAME", name_, "The list (letter case ignored)")->required();
        match_->add_option("TEXT", keyword_, "The text to search")->required();
        match_->add_flag("--json", options.json,
                         "Print JSON: an array of {\"start\", \"length\", \"color\"}");
        rename_ = keywords->add_subcommand("rename", "Rename a list");
        rename_->add_option("OLD", name_, "The list (letter case ignored)")->required();
        rename_->add_option("NEW", keyword_, "Its new name")->required();
        delete_ = keywords->add_subcommand("delete", "Delete a list");
        delete_->add_option("NAME", name_, "The list (letter case ignored)")->required();
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (list_->parsed()) {
            return RunList(options);
        }
        if (show_->parsed()) {
            return RunShow(options, name_);
        }
        if (new_->parsed()) {
            return RunNew(name_);
        }
        if (add_->parsed()) {
            return RunAdd(name_, keyword_, color_, regex_);
        }
        if (remove_->parsed()) {
            return RunRemove(name_, keyword_);
        }
        if (set_->parsed()) {
            return RunSet(name_, setting_, keyword_);
        }
        if (match_->parsed()) {
            return RunMatch(options, name_, keyword_);
        }
        if (rename_->parsed()) {
            return RunRename(name_, keyword_);
        }
        if (delete_->parsed()) {
            return RunDelete(name_);
        }
        return std::nullopt;
    }

private:
    CLI::App* list_ = nullptr;
    CLI::App* show_ = nullptr;
    CLI::App* new_ = nullptr;
    CLI::App* add_ = nullptr;
    CLI::App* remove_ = nullptr;
    CLI::App* set_ = nullptr;
    CLI::App* match_ = nullptr;
    CLI::App* rename_ = nullptr;
    CLI::App* delete_ = nullptr;
    std::string name_;
    std::string keyword_;
    std::string setting_;
    std::optional<std::string> color_;
    bool regex_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeKeywordCommands() {
    return std::make_unique<KeywordCommands>();
}

}  // namespace rivode::cli
