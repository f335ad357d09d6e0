// printer show|set|margins: the printing settings in force (global, or a session's own) and page
// margins checked against a printer's limits.
//
// rivode has no print system of its own: its printer is one of known geometry, a letter page
// (8.5 x 11 inches) with a quarter inch the printer cannot reach on every side.
#include "CommandGroup.h"
#include "CommandStore.h"
#include "Output.h"
#include "ProfileValueText.h"
#include "SessionCommandSupport.h"
#include "SessionRecordAccess.h"

#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/Printer.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <thread>

namespace rivode::cli {
namespace {

constexpr std::u16string_view kRivodePrinterName = u"Letter Printer";
constexpr std::uint64_t kPrinterTimeoutMs = 5000;

PrinterPageGeometry LetterPage() {
    constexpr double kDpi = 300;
    PrinterPageGeometry page;
    page.dotsPerInchX = page.dotsPerInchY = kDpi;
    page.physicalOffsetX = page.physicalOffsetY = 0.25 * kDpi;
    page.physicalWidth = 8.5 * kDpi;
    page.physicalHeight = 11 * kDpi;
    page.printableWidth = 8.0 * kDpi;
    page.printableHeight = 10.5 * kDpi;
    return page;
}

std::string FormatInches(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", PrinterBase::RoundMargin(value));
    return text;
}

bool ParseInches(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end && std::isfinite(value);
}

// The four margins as typed; a usage failure unless each is a number.
bool ParseMargins(const std::vector<std::string>& words, YMarginData& margins,
                  CommandFailure& failure) {
    double values[4];
    for (std::size_t i = 0; i < 4; ++i) {
        if (words.size() != 4 || !ParseInches(words[i], values[i])) {
            failure = UsageFailure(
                "give four margins in inches: LEFT RIGHT TOP BOTTOM, such as "
                "0.5 0.5 0.5 0.5");
            return false;
        }
    }
    margins = {values[0], values[1], values[2], values[3]};
    return true;
}

// The global record and, with a session, the session's: what show and set work on.
class PrinterRecords {
public:
    PrinterRecords(const CommandOptions& options, bool readOnly)
        : store_(options.folders, readOnly),
          key_(store_.Root(), kGlobalKeyName),
          global_(MakeYRef<GlobalConfig>(&key_, options.product, IsIntegrated(options.product),
                                         false)) {}

    bool OpenSession(const CommandOptions& options, const std::string& path,
                     CommandFailure& failure) {
        session_.emplace();
        return session_->Open(options, path, failure);
    }
    SessionConfig* Session() { return session_ ? &session_->Record() : nullptr; }
    // The settings this command edits: the session's own, or the global ones.
    PrinterConfig& Edited() { return session_ ? Session()->printerConfig : global_->printerConfig; }
    // The settings in force.
    const PrinterConfig& InForce() {
        return session_ ? GetEffectivePrinterConfig(*Session(), *global_) : global_->printerConfig;
    }
    bool UsesGlobal() { return !session_ || Session()->useGlobalPrintSettings.Get(); }

    bool Save(CommandFailure& failure) {
        if (session_) {
            return session_->Save(failure);
        }
        if (global_->printerConfig.Save(key_) && key_.Flush()) {
            return true;
        }
        YReportMessageParams report(rivode::msg::PrinterSettingsChangeFailed);
        report.AddString(
            ReportText(key_.GetStatus(), "the configuration file could not be written"));
        failure = ReportFailure(report);
        return false;
    }

private:
    CommandStore store_;
    YProfileKey key_;
    YRefPtr<GlobalConfig> global_;
    std::optional<SessionRecordAccess> session_;
};

struct PrinterValue {
    std::string name;
    YProfileData* value;
};

std::vector<PrinterValue> Values(PrinterConfig& config) {
    std::vector<PrinterValue> values;
    PrinterConfig::Table().ForEach(config, [&](YProfileData& value) {
        values.push_back({ToUtf8(value.GetName()), &value});
    });
    return values;
}

ExitStatus RunShow(const CommandOptions& options, const std::optional<std::string>& session) {
    PrinterRecords records(options, true);
    CommandFailure failure;
    if (session && !records.OpenSession(options, *session, failure)) {
        return Fail(failure);
    }
    const std::string source = records.UsesGlobal() ? "global" : "session";
    auto& config = const_cast<PrinterConfig&>(records.InForce());
    const YMarginData margins = config.pageMargins.Get();
    const std::string marginText = FormatInches(margins.left) + " " + FormatInches(margins.right) +
                                   " " + FormatInches(margins.top) + " " +
                                   FormatInches(margins.bottom);
    if (options.json) {
        nlohmann::json rows = nlohmann::json::array();
        for (const PrinterValue& entry : Values(config)) {
            nlohmann::json row = ProfileValueRowJson(entry.name, *entry.value);
            if (entry.value == &config.pageMargins) {
                row["type"] = "margins";
                row["value"] = {{"left", margins.left},
                                {"right", margins.right},
                                {"top", margins.top},
                                {"bottom", margins.bottom}};
            }
            rows.push_back(row);
        }
        PrintJson({{"settings", source}, {"values", rows}});
        return ExitOk;
    }
    PrintLine("settings\t" + source);
    for (const PrinterValue& entry : Values(config)) {
        if (entry.value == &config.pageMargins) {
            PrintLine(entry.name + "\tmargins\t" + ProfileValueSourceWord(*entry.value) + "\t" +
                      marginText);
        } else {
            PrintLine(ProfileValueRowLine(entry.name, *entry.value));
        }
    }
    return ExitOk;
}

ExitStatus RunSet(const CommandOptions& options, const std::optional<std::string>& session,
                  const std::string& name, const std::vector<std::string>& words) {
    PrinterRecords records(options, false);
    CommandFailure failure;
    if (session && !records.OpenSession(options, *session, failure)) {
        return Fail(failure);
    }
    if (name == "Use Global Print Settings") {
        if (!session) {
            return Fail(
                UsageFailure("\"Use Global Print Settings\" belongs to a session: give "
                             "--session"));
        }
        if (!SetProfileValue(records.Session()->useGlobalPrintSettings, words, failure)) {
            return Fail(failure);
        }
        return records.Save(failure) ? ExitOk : Fail(failure);
    }
    PrinterConfig& config = records.Edited();
    YProfileData* value = nullptr;
    for (const PrinterValue& entry : Values(config)) {
        if (entry.name == name) {
            value = entry.value;
        }
    }
    if (value == nullptr) {
        return Fail(
            UsageFailure("there is no printer value \"" + name +
                         "\" (names are compared exactly; rivode printer show lists them)"));
    }
    if (value == &config.pageMargins) {
        YMarginData margins;
        if (!ParseMargins(words, margins, failure)) {
            return Fail(failure);
        }
        config.pageMargins = margins;
    } else if (!SetProfileValue(*value, words, failure)) {
        failure.message = "cannot set \"" + name + "\": " + failure.message;
        return Fail(failure);
    }
    return records.Save(failure) ? ExitOk : Fail(failure);
}

// Brings up printing over the printer of known geometry and waits for it.
bool StartPrinter(Printer& printer, const std::optional<std::string>& name,
                  CommandFailure& failure) {
    SetPrinterPlatform(
        CreateFixedPrinterPlatform(YUnicodeString(kRivodePrinterName), LetterPage()));
    printer.Initialize(true, kPrinterTimeoutMs, nullptr);
    while (printer.GetInitState() == PrinterBase::InitState::Initializing) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    PrinterSelection selection;
    selection.name = name ? FromUtf8(*name) : YUnicodeString();
    YReportMessageParams report = printer.GetStatus();
    PrinterBase::MarginLimits limits;
    if (!printer.HasInitializationSucceeded() || !printer.SelectCurrentPrinter(selection) ||
        !printer.CalculateMarginLimits(limits, report)) {
        failure = ReportFailure(report);
        return false;
    }
    return true;
}

ExitStatus RunMargins(const std::vector<std::string>& words,
                      const std::optional<std::string>& printerName) {
    YMarginData margins;
    CommandFailure failure;
    if (!ParseMargins(words, margins, failure)) {
        return Fail(failure);
    }
    Printer printer;
    if (!StartPrinter(printer, printerName, failure)) {
        printer.Uninitialize();
        return Fail(failure);
    }
    // Each side's minimum first, as the printing pages collect them; then the page as a whole.
    YUnicodeString minimums;
    for (const auto side : {PrinterBase::Margin::Left, PrinterBase::Margin::Right,
                            PrinterBase::Margin::Top, PrinterBase::Margin::Bottom}) {
        double minimum = 0;
        YReportMessageParams report;
        if (printer.ValidateMargin(margins, side, minimum, report) ==
            PrinterBase::kMarginsInvalid) {
            minimums +=
                (minimums.empty() ? u"" : u"\r\n") + YUnicodeString(report.GetTextTrimmed());
        }
    }
    YReportMessageParams report;
    if (!minimums.empty()) {
        report.SetMessage(rivode::msg::ModifyMargins);
        report.AddString(minimums);
    } else {
        (void)printer.ValidateMargins(margins, report);
    }
    printer.Uninitialize();
    if (!report.IsSuccess()) {
        return Fail(ReportFailure(report));
    }
    PrintLine("valid for " + ToUtf8(printer.GetPrinterName()));
    return ExitOk;
}

class PrinterCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* printer = app.add_subcommand("printer", "Show and edit the printing settings");
        printer->require_subcommand(1);
        show_ = printer->add_subcommand(
            "show",
            "The printing settings in force: the global ones, or with --session the "
            "session's (its own unless it uses the global ones)");
        show_->add_option("--session", session_, kSessionPathHelp);
        show_->add_flag("--json", options.json,
                        "Print JSON: {\"settings\": \"global\" or \"session\", \"values\": "
                        "[{\"name\", \"type\", \"source\", \"value\"}]}");
        set_ = printer->add_subcommand(
            "set",
            "Change one printing value (the global one, or with --session the session's "
            "own); \"Page Margins\" takes LEFT RIGHT TOP BOTTOM in inches");
        set_->add_option("--session", session_, kSessionPathHelp);
        set_->add_option("NAME", name_, "The value's name, as printer show lists it")->required();
        set_->add_option("VALUE", words_, "The new value")->required();
        margins_ = printer->add_subcommand(
            "margins", "Check page margins (inches) against a printer's limits");
        margins_->add_option("MARGINS", words_, "LEFT RIGHT TOP BOTTOM")->expected(4)->required();
        margins_->add_option("--printer", printer_, "The printer (default: the default printer)");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (show_->parsed()) {
            return RunShow(options, session_);
        }
        if (set_->parsed()) {
            return RunSet(options, session_, name_, words_);
        }
        if (margins_->parsed()) {
            return RunMargins(words_, printer_);
        }
        return std::nullopt;
    }

private:
    CLI::App* show_ = nullptr;
    CLI::App* set_ = nullptr;
    CLI::App* margins_ = nullptr;
    std::optional<std::string> session_;
    std::optional<std::string> printer_;
    std::string name_;
    std::vector<std::string> words_;
};

}  // namespace

std::unique_ptr<CommandGroup> MakePrinterCommands() {
    return std::make_unique<PrinterCommands>();
}

}  // namespace rivode::cli
