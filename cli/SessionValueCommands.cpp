// session show|get|set: the values of one stored session, typed by the session record (its own
// values, the terminal and remote-host parts, the protocol names and each protocol's values).
#include "CommandGroup.h"
#include "CompletionHint.h"
#include "Output.h"
#include "ProfileValueText.h"
#include "SessionCommandSupport.h"
#include "SessionRecordAccess.h"
#include "SessionValueSetting.h"

namespace rivode::cli {
namespace {

ExitStatus RunShow(const CommandOptions& options, const std::string& path) {
    SessionRecordAccess record;
    CommandFailure failure;
    if (!record.Open(options, path, failure)) {
        return Fail(failure);
    }
    PrintProfileValueRows(record.Values(), options.json);
    return ExitOk;
}

ExitStatus RunGet(const CommandOptions& options, const std::string& path, const std::string& name) {
    SessionRecordAccess record;
    CommandFailure failure;
    const YProfileData* value = nullptr;
    if (!record.Open(options, path, failure) ||
        (value = record.Find(name, ExitUsage, failure)) == nullptr) {
        return Fail(failure);
    }
    PrintProfileValue(name, *value, options.json);
    return ExitOk;
}

ExitStatus RunSet(const CommandOptions& options, const std::string& path, const std::string& name,
                  const std::vector<std::string>& words, bool passphraseFromInput) {
    SessionRecordAccess record;
    CommandFailure failure;
    YProfileData* value = nullptr;
    if (!record.Open(options, path, failure) ||
        (value = record.Find(name, ExitUsage, failure)) == nullptr ||
        !SetSessionValue(options, record.Record(), *value, name, words, passphraseFromInput,
                         failure) ||
        !record.Save(failure)) {
        return Fail(failure);
    }
    return ExitOk;
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
