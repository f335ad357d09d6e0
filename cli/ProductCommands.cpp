// products: which sibling products are installed beside the library, whether the product chosen
// with --product runs integrated, and what loading its protocol modules gives.
#include "CommandGroup.h"
#include "Output.h"

#include <RivodeRavudaVU/ConnectProtocolModules.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include <map>
#include <utility>

namespace rivode::cli {
namespace {

struct SiblingState {
    const char* name;
    int product;
    bool installed;
};

struct ProtocolState {
    ConnectProtocolModuleState module;
    std::string reason;  // why it is not loaded
};

// null for an empty text: "nothing went wrong" rather than an empty explanation.
nlohmann::json TextOrNull(const std::string& text) {
    return text.empty() ? nlohmann::json() : nlohmann::json(text);
}

using FailureReasons = std::map<std::pair<int, YUnicodeString>, std::string>;

void RememberFailure(const YAppFnTable& table, const ConnectProtocolEntry& entry,
                     const YReportMessageParams& report) {
    auto& reasons = *static_cast<FailureReasons*>(table.hostData);
    // One line, since each protocol takes one line of the listing.
    YReportMessageParams text(report);
    reasons[{entry.product, entry.name}] = ToUtf8(text.GetSingleLineTextTrimmed());
}

std::vector<SiblingState> GetSiblingStates() {
    return {{"QTM", 1, IsQtmInstalled()},
            {"Quillterm", 3, IsQuilltermInstalled()},
            {"Quillfile", 6, IsQuillfileInstalled()}};
}

// The rows loading tried (the product's, and the sibling's when integrated) with their outcome.
std::vector<ProtocolState> DescribeProtocols(int product, const YUnicodeString& folder,
                                             const FailureReasons& reasons) {
    std::vector<ProtocolState> states;
    for (ConnectProtocolModuleState& module : GetConnectProtocolModules(product, folder)) {
        ProtocolState state{std::move(module), {}};
        if (!state.module.loaded) {
            const auto failure = reasons.find({state.module.product, state.module.name});
            state.reason = failure != reasons.end() ? failure->second
                           : !state.module.allowed  ? "left out in FIPS mode"
                                                    : "not tried: loading stopped before it";
        }
        states.push_back(std::move(state));
    }
    return states;
}

void PrintText(int product, bool integrated, bool fipsMode, const std::string& folder,
               const std::vector<ProtocolState>& protocols) {
    for (const SiblingState& sibling : GetSiblingStates()) {
        PrintLine(std::string(sibling.name) + '\t' +
                  (sibling.installed ? "installed" : "not installed") + '\t' +
                  ToUtf8(GetSiblingExecutablePath(sibling.product)));
    }
    PrintLine("product " + std::to_string(product) +
              (integrated ? " integrated" : " not integrated") + (fipsMode ? ", FIPS mode" : ""));
    PrintLine("modules from " + folder);
    for (const ProtocolState& protocol : protocols) {
        const ConnectProtocolModuleState& module = protocol.module;
        PrintLine(ToUtf8(module.name) + '\t' + ToUtf8(module.displayName) + '\t' +
                  std::to_string(module.product) + '\t' + ToUtf8(module.modulePath) + '\t' +
                  (module.loaded ? "loaded" : "not loaded: " + protocol.reason));
    }
}

void PrintJsonDocument(int product, bool integrated, bool fipsMode, const std::string& folder,
                       const std::vector<ProtocolState>& protocols, const std::string& failure) {
    nlohmann::json siblings = nlohmann::json::array();
    for (const SiblingState& sibling : GetSiblingStates()) {
        siblings.push_back({{"name", sibling.name},
                            {"product", sibling.product},
                            {"installed", sibling.installed},
                            {"path", ToUtf8(GetSiblingExecutablePath(sibling.product))}});
    }
    nlohmann::json rows = nlohmann::json::array();
    for (const ProtocolState& protocol : protocols) {
        const ConnectProtocolModuleState& module = protocol.module;
        rows.push_back({{"name", ToUtf8(module.name)},
                        {"displayName", ToUtf8(module.displayName)},
                        {"product", module.product},
                        {"modulePath", ToUtf8(module.modulePath)},
                        {"loaded", module.loaded},
                        {"reason", TextOrNull(protocol.reason)}});
    }
    PrintJson({{"siblings", siblings},
               {"product", product},
               {"integrated", integrated},
               {"fipsMode", fipsMode},
               {"moduleFolder", folder},
               {"protocols", rows},
               {"failure", TextOrNull(failure)}});
}

ExitStatus RunProducts(const CommandOptions& options, const std::string& moduleFolder) {
    const int product = options.product;
    const bool integrated = IsIntegrated(product);
    const YUnicodeString folder =
        moduleFolder.empty() ? GetDefaultConnectModuleFolder() : FromUtf8(moduleFolder);

    FailureReasons reasons;
    const YAppFnTable table{LoadConnectProtocolModule, RememberFailure, &reasons};
    bool fipsMode = false;
    YReportMessageParams report;
    const bool loaded = LoadConnectionProtocolDlls(table, product, folder, fipsMode, report);
    const std::string failure = loaded ? std::string() : ReportText(report);

    const auto protocols = DescribeProtocols(product, folder, reasons);
    if (options.json) {
        PrintJsonDocument(product, integrated, fipsMode, ToUtf8(folder), protocols, failure);
    } else {
        PrintText(product, integrated, fipsMode, ToUtf8(folder), protocols);
    }
    if (!FinishOutput()) {
        return Fail(StoreFailure("the listing could not be written"));
    }
    return loaded ? ExitOk : Fail(StoreFailure(failure));
}

class ProductCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        products_ = app.add_subcommand(
            "products",
            "Show the sibling products installed beside the library and load the protocol "
            "modules of the product chosen with --product: one line per protocol");
        products_
            ->add_option("--modules", moduleFolder_,
                         "The folder of the protocol modules (default: the one installed "
                         "beside the library)")
            ->type_name("DIR");
        products_->add_flag("--json", options.json,
                            "Print JSON: {\"siblings\", \"product\", \"integrated\", "
                            "\"fipsMode\", \"moduleFolder\", \"protocols\", \"failure\"}");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (!products_->parsed()) {
            return std::nullopt;
        }
        return RunProducts(options, moduleFolder_);
    }

private:
    CLI::App* products_ = nullptr;
    std::string moduleFolder_;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeProductCommands() {
    return std::make_unique<ProductCommands>();
}

}  // namespace rivode::cli
