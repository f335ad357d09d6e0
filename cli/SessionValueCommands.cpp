// session show|get|set: the values of one stored session, typed by the session record (its own
// values, the terminal and remote-host parts, the protocol names and each protocol's values).
#include "cli/CommandGroup.h"
#include "cli/CommandStore.h"
#include "cli/CompletionHint.h"
#include "cli/Output.h"
#include "cli/ProfileValueText.h"
#include "cli/SensitiveValueInput.h"
#include "cli/SessionCommandSupport.h"

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/YEncryptedString.h>

#include "storage/SecretText.h"

namespace rivode::cli {
namespace {

using rivode::storage::WipeText;

struct SessionValue {
    std::string name;  // UTF-8
    YProfileData* value = nullptr;
};

// A session opened for a command, with its values by name.
class SessionCommandRecord {
public:
    [[nodiscard]] bool Open(const CommandOptions& options, const std::string& pathText,
                            CommandFailure& failure) {
        if (!ParseItemPath(pathText, path_, failure) || !LoadSessionProtocols(options, failure)) {
            return false;
        }
        YReportMessageParams report;
        session_ = Sessions().OpenSession(path_, report);
        record_ = dynamic_cast<SessionConfig*>(session_.get());
        if (record_ == nullptr) {
            // A session whose file cannot be read says why; only a missing one is "no session".
            failure = session_ || report.GetMessageId() == rivode::msg::SessionItemNotFound
                          ? StoreFailure("there is no session \"" + pathText +
                                         "\" (rivode sessions --tree lists them)")
                          : StoreFailure(ReportText(report));
            return false;
        }
        record_->ForEachValue([this](YProfileData& value) {
            values_.push_back({ToUtf8(value.GetName()), &value});
        });
        return true;
    }

    const std::vector<SessionValue>& Values() const { return values_; }
    SessionConfig& Record() { return *record_; }

    // The value of that exact name; nullptr with a failure otherwise.
    YProfileData* Find(const std::string& name, ExitStatus status, CommandFailure& failure) const {
        for (const SessionValue& entry : values_) {
            if (entry.name == name) {
                return entry.value;
            }
        }
        failure = {status, "the session has no value \"" + name +
                               "\" (names are compared exactly; rivode session show lists them)"};
        return nullptr;
    }

    // Stores what changed in the record into the session's key.
    [[nodiscard]] bool Save(CommandFailure& failure) {
        // A protocol that fell back because its module is missing would be stored in place of
        // the one the user chose.
        if (record_->HasUnknownProtocol()) {
            failure = StoreFailure("the session names a protocol no loaded module offers; "
                                   "saving it would replace that protocol (rivode products shows "
                                   "the modules)");
            return false;
        }
        YReportMessageParams report;
        // The default session may not be stored yet: it is the one session saved by creating it.
        const bool create = path_ == kDefaultSessionName;
        if (!Sessions().SaveSession(*record_, create, report)) {
            failure = ReportFailure(report);
            return false;
        }
        return true;
    }

private:
    YUnicodeString path_;
    YRefPtr<ISessionConfig> session_;
    SessionConfig* record_ = nullptr;
    std::vector<SessionValue> values_;
};

ExitStatus RunShow(const CommandOptions& options, const std::string& path) {
    SessionCommandRecord record;
    CommandFailure failure;
    if (!record.Open(options, path, failure)) {
        return Fail(failure);
    }
    PrintProfileValueRows(record.Values(), options.json);
    return ExitOk;
}

ExitStatus RunGet(const CommandOptions& options, const std::string& path, const std::string& name) {
    SessionCommandRecord record;
    CommandFailure failure;
    const YProfileData* value = nullptr;
    if (!record.Open(options, path, failure) ||
        (value = record.Find(name, ExitUsage, failure)) == nullptr) {
        return Fail(failure);
    }
    PrintProfileValue(name, *value, options.json);
    return ExitOk;
}

// A protocol name goes through its slot, which replaces the protocol's configuration with the new
// protocol's: the old protocol's values (its port) would not fit.
bool SetProtocolName(SessionConfig& record, YProfileData& value,
                     const std::vector<std::string>& words, CommandFailure& failure) {
    const bool terminal = &value == &record.GetTerminalSlot().NameValue();
    const auto side = terminal ? SessionProtocolSlot::Side::Terminal
                               : SessionProtocolSlot::Side::Transfer;
    YUnicodeString name = words.size() == 1 ? FromUtf8(words[0]) : YUnicodeString();
    const ConnectProtocolEntry* entry = GetConnectProtocolTable().Find(name);
    if (EqualsNoCase(name, kNoProtocolName)) {
        name = kNoProtocolName;
    } else if (entry != nullptr && SessionProtocolSlot::Suits(side, entry->product)) {
        name = entry->name;
    } else {
        failure = UsageFailure("give one protocol of the " +
                               std::string(terminal ? "terminal" : "file-transfer") +
                               " side the loaded modules offer, or None (they offer " +
                               LoadedProtocolNames() + ")");
        return false;
    }
    if (terminal) {
        record.SetProtocolName(name);
    } else {
        record.SetTransferProtocolName(name);
    }
    return true;
}

ExitStatus RunSet(const CommandOptions& options, const std::string& path, const std::string& name,
                  const std::vector<std::string>& words, bool passphraseFromInput) {
    SessionCommandRecord record;
    CommandFailure failure;
    YProfileData* value = nullptr;
    if (!record.Open(options, path, failure) ||
        (value = record.Find(name, ExitUsage, failure)) == nullptr) {
        return Fail(failure);
    }
    SessionConfig& session = record.Record();
    const bool isProtocolName = value == &session.GetTerminalSlot().NameValue() ||
                                value == &session.GetTransferSlot().NameValue();
    if (TypeOfProfileValue(*value) == ProfileValueType::Encrypted) {
        if (!words.empty()) {
            return Fail(UsageFailure("\"" + name +
                                     "\" is encrypted: give its plaintext on standard input, "
                                     "not on the command line"));
        }
        if (!SetEncryptedValue(options, *value, passphraseFromInput, failure)) {
            return Fail(failure);
        }
    } else if (isProtocolName) {
        if (!SetProtocolName(session, *value, words, failure)) {
            return Fail(failure);
        }
    } else if (!SetProfileValue(*value, words, failure)) {
        failure.message = "cannot set \"" + name + "\": " + failure.message;
        return Fail(failure);
    }
    return record.Save(failure) ? ExitOk : Fail(failure);
}

class SessionValueCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App& session = SessionCommand(app);
        show_ = session.add_subcommand(
            "show", "Every value of a session: name, type, store or default, value (one a line)");
        CompleteWith(*show_->add_option("PATH", path_, kSessionPathHelp)->required(),
                     CompletionKind::Session);
        show_->add_flag("--json", options.json,
                        "Print JSON: an array of {\"name\", \"type\", \"source\", \"value\"}");
        get_ = session.add_subcommand("get", "Print one value of a session");
        CompleteWith(*get_->add_option("PATH", path_, kSessionPathHelp)->required(),
                     CompletionKind::Session);
        get_->add_option("NAME", name_, "The value's name, case included")->required();
        get_->add_flag("--json", options.json,
                       "Print JSON: {\"name\", \"type\", \"source\", \"value\"}");
        set_ = session.add_subcommand("set", "Change one value of a session");
        CompleteWith(*set_->add_option("PATH", path_, kSessionPathHelp)->required(),
                     CompletionKind::Session);
        set_->add_option("NAME", name_, "The value's name, case included")->required();
        set_->add_option("VALUE", words_,
                         "The new value: true, false, 1 or 0; a number (decimal or 0x hex); a "
                         "text; a list's items, one an argument or one a line; bytes in hex. An "
                         "encrypted value's plaintext is read from standard input instead");
        set_->add_flag("--passphrase-stdin", passphraseFromInput_,
                       "Read the configuration passphrase from the first line of standard input "
                       "(before the plaintext of an encrypted value)");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (show_->parsed()) {
            return RunShow(options, path_);
        }
        if (get_->parsed()) {
            return RunGet(options, path_, name_);
        }
        if (set_->parsed()) {
            return RunSet(options, path_, name_, words_, passphraseFromInput_);
        }
        return std::nullopt;
    }

private:
    CLI::App* show_ = nullptr;
    CLI::App* get_ = nullptr;
    CLI::App* set_ = nullptr;
    std::string path_;
    std::string name_;
    std::vector<std::string> words_;
    bool passphraseFromInput_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeSessionValueCommands() {
    return std::make_unique<SessionValueCommands>();
}

}  // namespace rivode::cli
