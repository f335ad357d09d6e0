// firewall list|show|new|set|rename|delete|types: the firewalls under "Firewalls".
//
// Passwords come from standard input only (after the configuration passphrase line with
// --passphrase-stdin) and are never printed: show tells only whether one is stored.
#include "CommandGroup.h"
#include "Output.h"
#include "SensitiveValueInput.h"
#include "SessionCommandSupport.h"

#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <charconv>

namespace rivode::cli {
namespace {

constexpr const char* kPasswordPrompt = "Firewall password: ";

std::string Text(const YProfileString& value) {
    return ToUtf8(value.Get());
}

// A type as stored or as displayed, letter case ignored; "None" is no type a firewall can have.
const FirewallType* ParseType(const std::string& text) {
    const YUnicodeString name = FromUtf8(text);
    for (const FirewallType& type : GetFirewallTypes()) {
        if (type.code != 0 && (EqualsNoCase(type.name, name) ||
                               EqualsNoCase(GetFirewallTypeDisplayName(type), name))) {
            return &type;
        }
    }
    return nullptr;
}

bool ParsePort(const std::string& text, std::uint32_t& port, CommandFailure& failure) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, port);
    if (text.empty() || error != std::errc() || stop != end || port == 0 || port > 65535) {
        failure = UsageFailure("\"" + text + "\" is no port: give a number from 1 to 65535");
        return false;
    }
    return true;
}

YRefPtr<FirewallConfig> Open(const std::string& name, CommandFailure& failure) {
    YReportMessageParams report;
    YRefPtr<FirewallConfig> firewall;
    if (EqualsNoCase(FromUtf8(name), kNoFirewall)) {
        report.SetMessage(rivode::msg::FirewallNotFound);
        report.AddString(name);
    } else {
        firewall = OpenFirewall(FromUtf8(name), report);
    }
    if (!firewall) {
        failure = ReportFailure(report);
    }
    return firewall;
}

// Checks the values as the properties dialog does on OK, then stores the firewall.
bool Store(FirewallConfig& firewall, CommandFailure& failure) {
    YReportMessageParams report;
    if (!ValidateFirewallValues(firewall, report) || !SaveFirewall(firewall, report)) {
        failure = ReportFailure(report);
        return false;
    }
    return true;
}

bool ReadPassword(const CommandOptions& options, FirewallConfig& firewall, bool passphraseFromInput,
                  CommandFailure& failure) {
    return SetEncryptedValue(options, firewall.password, passphraseFromInput, failure,
                             kPasswordPrompt);
}

std::string TypeText(const FirewallConfig& firewall) {
    const FirewallType* type = firewall.GetType();
    return type != nullptr ? ToUtf8(type->name) : Text(firewall.type);
}

ExitStatus RunList(const CommandOptions& options) {
    nlohmann::json rows = nlohmann::json::array();
    for (const YUnicodeString& name : GetFirewallNames()) {
        if (name == kNoFirewall) {
            continue;
        }
        YReportMessageParams report;
        const YRefPtr<FirewallConfig> firewall = OpenFirewall(name, report);
        const std::string type = firewall ? TypeText(*firewall) : std::string();
        if (options.json) {
            rows.push_back({{"name", ToUtf8(name)}, {"type", type}});
        } else {
            PrintLine(ToUtf8(name) + "\t" + type);
        }
    }
    if (options.json) {
        PrintJson(rows);
    }
    return ExitOk;
}

ExitStatus RunShow(const CommandOptions& options, const std::string& name) {
    CommandFailure failure;
    const YRefPtr<FirewallConfig> firewall = Open(name, failure);
    if (!firewall) {
        return Fail(failure);
    }
    const FirewallConfig& f = *firewall;
    const bool hasPassword = !f.password.Get().GetEncryptedText().empty();
    const FirewallType* type = f.GetType();
    if (options.json) {
        PrintJson({{"name", ToUtf8(f.GetName())},
                   {"type", TypeText(f)},
                   {"needsLogin", f.NeedsLogin()},
                   {"address", Text(f.address)},
                   {"port", f.port.Get()},
                   {"proxyPrompt", Text(f.proxyPrompt)},
                   {"proxyCommand", Text(f.proxyCommand)},
                   {"user", Text(f.user)},
                   {"passwordStored", hasPassword}});
        return ExitOk;
    }
    PrintLine("name\t" + ToUtf8(f.GetName()));
    PrintLine("type\t" + TypeText(f) +
              (type != nullptr ? " (" + ToUtf8(GetFirewallTypeDisplayName(*type)) + ")" : ""));
    PrintLine("address\t" + Text(f.address));
    PrintLine("port\t" + std::to_string(f.port.Get()));
    PrintLine("proxy prompt\t" + Text(f.proxyPrompt));
    PrintLine("proxy command\t" + Text(f.proxyCommand));
    PrintLine("user\t" + Text(f.user));
    PrintLine(std::string("password\t") + (hasPassword ? "********" : ""));
    return ExitOk;
}

struct NewFirewall {
    std::string name;
    std::string type;
    std::optional<std::string> address;
    std::optional<std::string> port;
    std::optional<std::string> user;
    std::optional<std::string> command;
    std::optional<std::string> prompt;
    bool passphraseFromInput = false;
};

ExitStatus RunNew(const CommandOptions& options, const NewFirewall& request) {
    const FirewallType* type = ParseType(request.type);
    if (type == nullptr) {
        return Fail(UsageFailure("\"" + request.type +
                                 "\" is no firewall type: see \"rivode firewall types\""));
    }
    CommandFailure failure;
    std::uint32_t port = 0;
    if (request.port && !ParsePort(*request.port, port, failure)) {
        return Fail(failure);
    }
    YReportMessageParams report;
    if (!ValidateFirewallName(u"", FromUtf8(request.name), true, report)) {
        return Fail(ReportFailure(report));
    }
    const YRefPtr<FirewallConfig> firewall = CreateFirewallConfig(FromUtf8(request.name));
    firewall->type = YUnicodeString(type->name);
    if (request.address)
        firewall->address = FromUtf8(*request.address);
    if (request.port)
        firewall->port = port;
    if (request.user)
        firewall->user = FromUtf8(*request.user);
    if (request.command)
        firewall->proxyCommand = FromUtf8(*request.command);
    if (request.prompt)
        firewall->proxyPrompt = FromUtf8(*request.prompt);
    // Checked before the password is asked for, so a refused firewall asks nothing.
    if (!ValidateFirewallValues(*firewall, report)) {
        return Fail(ReportFailure(report));
    }
    if (type->needsLogin &&
        !ReadPassword(options, *firewall, request.passphraseFromInput, failure)) {
        return Fail(failure);
    }
    return Store(*firewall, failure) ? ExitOk : Fail(failure);
}

ExitStatus RunSet(const CommandOptions& options, const std::string& name, const std::string& key,
                  const std::optional<std::string>& value, bool passphraseFromInput) {
    CommandFailure failure;
    const YRefPtr<FirewallConfig> firewall = Open(name, failure);
    if (!firewall) {
        return Fail(failure);
    }
    FirewallConfig& f = *firewall;
    if (key == "password") {
        if (value) {
            return Fail(
                UsageFailure("a password is read from standard input, never given as an "
                             "argument"));
        }
        if (!ReadPassword(options, f, passphraseFromInput, failure)) {
            return Fail(failure);
        }
        return Store(f, failure) ? ExitOk : Fail(failure);
    }
    if (!value) {
        return Fail(UsageFailure("give the new VALUE of " + key));
    }
    if (key == "type") {
        const FirewallType* type = ParseType(*value);
        if (type == nullptr) {
            return Fail(UsageFailure("\"" + *value +
                                     "\" is no firewall type: see \"rivode firewall types\""));
        }
        f.type = YUnicodeString(type->name);
    } else if (key == "port") {
        std::uint32_t port = 0;
        if (!ParsePort(*value, port, failure)) {
            return Fail(failure);
        }
        f.port = port;
    } else if (key == "address") {
        f.address = FromUtf8(*value);
    } else if (key == "user") {
        f.user = FromUtf8(*value);
    } else if (key == "command") {
        f.proxyCommand = FromUtf8(*value);
    } else if (key == "prompt") {
        f.proxyPrompt = FromUtf8(*value);
    } else {
        return Fail(
            UsageFailure("KEY must be type, address, port, user, password, command or "
                         "prompt"));
    }
    return Store(f, failure) ? ExitOk : Fail(failure);
}

ExitStatus RunRename(const CommandOptions& options, const std::string& oldName,
                     const std::string& newName) {
    FirewallPropagationCounts counts;
    YReportMessageParams report;
    CommandFailure failure;
    if (!Open(oldName, failure)) {
        return Fail(failure);
    }
    const bool renamed = RenameFirewall(FromUtf8(oldName), FromUtf8(newName), counts, report);
    if (counts.seen != 0 || renamed) {
        if (options.json) {
            PrintJson({{"updated", counts.updated}, {"failed", counts.failed}});
        } else {
            PrintLine(std::to_string(counts.updated) + " sessions updated");
        }
    }
    return renamed ? ExitOk : Fail(ReportFailure(report));
}

ExitStatus RunDelete(const std::string& name) {
    YReportMessageParams report;
    return DeleteFirewall(FromUtf8(name), report) ? ExitOk : Fail(ReportFailure(report));
}

ExitStatus RunTypes(const CommandOptions& options) {
    nlohmann::json rows = nlohmann::json::array();
    for (const FirewallType& type : GetFirewallTypes()) {
        if (type.code == 0) {
            continue;  // a firewall is never of the type "None"
        }
        const std::string display = ToUtf8(GetFirewallTypeDisplayName(type));
        if (options.json) {
            rows.push_back({{"name", ToUtf8(type.name)},
                            {"display", display},
                            {"needsLogin", type.needsLogin}});
        } else {
            PrintLine(ToUtf8(type.name) + "\t" + display + "\t" +
                      (type.needsLogin ? "login" : "no login"));
        }
    }
    if (options.json) {
        PrintJson(rows);
    }
    return ExitOk;
}

class FirewallCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* firewall = app.add_subcommand("firewall", "Show and edit the firewalls");
        firewall->require_subcommand(1);
        list_ = firewall->add_subcommand("list", "The firewalls: name TAB type, one a line");
        list_->add_flag("--json", options.json, "Print JSON: an array of {\"name\", \"type\"}");
        show_ =
            firewall->add_subcommand("show", "A firewall's values (a password only as ********)");
        show_->add_option("NAME", name_, "The firewall (letter case ignored)")->required();
        show_->add_flag("--json", options.json,
                        "Print JSON: {\"name\", \"type\", \"needsLogin\", \"address\", \"port\", "
                        "\"proxyPrompt\", \"proxyCommand\", \"user\", \"passwordStored\"}");
        new_ = firewall->add_subcommand(
            "new",
            "Add a firewall; a type that needs a login reads its password from standard "
            "input");
        new_->add_option("NAME", new_firewall_.name, "The new firewall's name")->required();
        new_->add_option("--type", new_firewall_.type, "Its type (see \"firewall types\")")
            ->required();
        new_->add_option("--address", new_firewall_.address, "The proxy's host name or address");
        new_->add_option("--port", new_firewall_.port, "The proxy's port (default 1080)");
        new_->add_option("--user", new_firewall_.user, "The user name at the proxy");
        new_->add_option("--command", new_firewall_.command,
                         "The proxy command (%h host, %p port, %% a percent sign)");
        new_->add_option("--prompt", new_firewall_.prompt, "The proxy prompt");
        new_->add_flag("--passphrase-stdin", new_firewall_.passphraseFromInput,
                       "Read the configuration passphrase from the first line of standard input");
        set_ = firewall->add_subcommand(
            "set",
            "Change one value: type, address, port, user, command, prompt, or password "
            "(read from standard input)");
        set_->add_option("NAME", name_, "The firewall (letter case ignored)")->required();
        set_->add_option("KEY", key_, "type, address, port, user, password, command or prompt")
            ->required();
        set_->add_option("VALUE", value_, "The new value (not for password)");
        set_->add_flag("--passphrase-stdin", passphraseFromInput_,
                       "Read the configuration passphrase from the first line of standard input");
        rename_ = firewall->add_subcommand(
            "rename", "Rename a firewall and the sessions that name it (exact letter case)");
        rename_->add_option("OLD", name_, "The firewall (letter case ignored)")->required();
        rename_->add_option("NEW", other_, "Its new name")->required();
        rename_->add_flag("--json", options.json, "Print JSON: {\"updated\", \"failed\"}");
        delete_ = firewall->add_subcommand(
            "delete", "Delete a firewall (sessions that name it are left as they are)");
        delete_->add_option("NAME", name_, "The firewall (letter case ignored)")->required();
        types_ = firewall->add_subcommand(
            "types", "The types a firewall can have: name TAB display name TAB login");
        types_->add_flag("--json", options.json,
                         "Print JSON: an array of {\"name\", \"display\", \"needsLogin\"}");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (list_->parsed()) {
            return RunList(options);
        }
        if (show_->parsed()) {
            return RunShow(options, name_);
        }
        if (new_->parsed()) {
            return RunNew(options, new_firewall_);
        }
        if (set_->parsed()) {
            return RunSet(options, name_, key_, value_, passphraseFromInput_);
        }
        if (rename_->parsed()) {
            return RunRename(options, name_, other_);
        }
        if (delete_->parsed()) {
            return RunDelete(name_);
        }
        if (types_->parsed()) {
            return RunTypes(options);
        }
        return std::nullopt;
    }

private:
    CLI::App* list_ = nullptr;
    CLI::App* show_ = nullptr;
    CLI::App* new_ = nullptr;
    CLI::App* set_ = nullptr;
    CLI::App* rename_ = nullptr;
    CLI::App* delete_ = nullptr;
    CLI::App* types_ = nullptr;
    NewFirewall new_firewall_;
    std::string name_;
    std::string other_;
    std::string key_;
    std::optional<std::string> value_;
    bool passphraseFromInput_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeFirewallCommands() {
    return std::make_unique<FirewallCommands>();
}

}  // namespace rivode::cli
