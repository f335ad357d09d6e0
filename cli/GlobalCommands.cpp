// global list|get|set: the global values of the product chosen with --product, typed by the
// record's schema.
#include "CommandGroup.h"
#include "CommandStore.h"
#include "CompletionHint.h"
#include "Output.h"
#include "ProfileValueText.h"

#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/SiblingProducts.h>

namespace rivode::cli {
namespace {

struct GlobalValueEntry {
    std::string name;  // UTF-8
    YProfileData* value = nullptr;
    // What saves the value into the global key: the value itself, or the record that keeps it in
    // a subkey of its own.
    YProfileData* savedBy = nullptr;
    // Only read from configurations older than its newer name, never written.
    bool retired = false;
};

// Every value of config by name (the QuickSync values as "QuickSync\<name>"): the main values in
// the order they are read, then the sub-records'.
std::vector<GlobalValueEntry> CollectGlobalValues(GlobalConfig& config) {
    std::vector<GlobalValueEntry> entries;
    const auto addRecord = [&entries](auto& record, const std::string& prefix,
                                      YProfileData* savedBy) {
        record.Table().ForEach(record, [&](YProfileData& value) {
            entries.push_back(
                {prefix + ToUtf8(value.GetName()), &value, savedBy != nullptr ? savedBy : &value});
        });
    };
    GlobalConfig::Table().ForEachRow(config, [&](YProfileData& value, const YValueRowInfo& row) {
        if (auto* quickSync = dynamic_cast<QuickSyncConfig*>(&value)) {
            addRecord(*quickSync, ToUtf8(quickSync->GetName()) + "\\", quickSync);
        } else {
            entries.push_back(
                {ToUtf8(value.GetName()), &value, &value, row.IsMarked(kValueRetired)});
        }
    });
    config.ForEachSubRecord([&](auto& record) { addRecord(record, "", nullptr); });
    return entries;
}

// The global values rivode refuses to set, with why; the others are set by their type.
bool SetGlobalValue(const GlobalValueEntry& entry, const std::vector<std::string>& words,
                    CommandFailure& failure) {
    YProfileData& value = *entry.value;
    if (entry.retired) {
        failure =
            UsageFailure("the value is only read from configurations older than its V2 name: set " +
                         ToUtf8(value.GetName()) + " V2 instead");
        return false;
    }
    if (TypeOfProfileValue(value) == ProfileValueType::Encrypted) {
        failure = UsageFailure(
            "the value cannot be set here: it is the check value of the configuration "
            "passphrase, which changes only with the passphrase itself");
        return false;
    }
    return SetProfileValue(value, words, failure);
}

// The global record of a command: the store, its key "Global" and the record read from it,
// kept together because the key must outlive every use of the record.
class GlobalCommandRecord {
public:
    GlobalCommandRecord(const CommandOptions& options, bool readOnly)
        : store_(options.folders, readOnly),
          key_(store_.Root(), kGlobalKeyName),
          // rivode has no user interface, so the record has no GUI values.
          record_(
              MakeYRef<GlobalConfig>(&key_, options.product, IsIntegrated(options.product), false)),
          entries_(CollectGlobalValues(*record_)) {}

    const std::vector<GlobalValueEntry>& Entries() const { return entries_; }
    const YProfileKey& Key() const { return key_; }

    // The entry of that exact name; nullptr with a failure otherwise.
    const GlobalValueEntry* Find(const std::string& name, ExitStatus status,
                                 CommandFailure& failure) const {
        for (const GlobalValueEntry& entry : entries_) {
            if (entry.name == name) {
                return &entry;
            }
        }
        failure = {status, "there is no global value \"" + name +
                               "\" (names are compared exactly; rivode global list shows them)"};
        return nullptr;
    }

private:
    CommandStore store_;
    YProfileKey key_;
    YRefPtr<GlobalConfig> record_;
    std::vector<GlobalValueEntry> entries_;
};

ExitStatus RunList(const CommandOptions& options) {
    const GlobalCommandRecord record(options, true);
    PrintProfileValueRows(record.Entries(), options.json);
    return ExitOk;
}

ExitStatus RunGet(const CommandOptions& options, const std::string& name) {
    const GlobalCommandRecord record(options, true);
    CommandFailure failure;
    const GlobalValueEntry* entry = record.Find(name, ExitFailure, failure);
    if (entry == nullptr) {
        return Fail(failure);
    }
    PrintProfileValue(name, *entry->value, options.json);
    return ExitOk;
}

ExitStatus RunSet(const CommandOptions& options, const std::string& name,
                  const std::vector<std::string>& words) {
    const GlobalCommandRecord record(options, false);
    CommandFailure failure;
    const GlobalValueEntry* entry = record.Find(name, ExitUsage, failure);
    if (entry == nullptr) {
        return Fail(failure);
    }
    if (!SetGlobalValue(*entry, words, failure)) {
        failure.message = "cannot set \"" + name + "\": " + failure.message;
        return Fail(failure);
    }
    // Only this value is written: the record's other values stay as the store has them.
    if (!entry->savedBy->Save(record.Key()) || !record.Key().Flush()) {
        return Fail(StoreFailure(
            "cannot store \"" + name + "\": " +
            ReportText(record.Key().GetStatus(), "the configuration file could not be written")));
    }
    return ExitOk;
}

class GlobalCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* global = app.add_subcommand(
            "global", "Show and change the global options of the product chosen with --product");
        global->require_subcommand(1);
        list_ = global->add_subcommand(
            "list", "Every global value: name, type, store or default, value (one a line)");
        list_->add_flag("--json", options.json,
                        "Print JSON: an array of {\"name\", \"type\", \"source\", \"value\"}");
        get_ = global->add_subcommand("get", "Print one global value");
        CompleteWith(
            *get_->add_option("NAME", name_, "The value's name, case included")->required(),
            CompletionKind::Listed, "global list");
        get_->add_flag("--json", options.json,
                       "Print JSON: {\"name\", \"type\", \"source\", \"value\"}");
        set_ = global->add_subcommand("set", "Change one global value");
        CompleteWith(
            *set_->add_option("NAME", name_, "The value's name, case included")->required(),
            CompletionKind::Listed, "global list");
        set_->add_option("VALUE", words_,
                         "The new value: true, false, 1 or 0; a number (decimal or 0x hex); a "
                         "text; a list's items, one an argument or one a line; bytes in hex");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (list_->parsed()) {
            return RunList(options);
        }
        if (get_->parsed()) {
            return RunGet(options, name_);
        }
        if (set_->parsed()) {
            return RunSet(options, name_, words_);
        }
        return std::nullopt;
    }

private:
    CLI::App* list_ = nullptr;
    CLI::App* get_ = nullptr;
    CLI::App* set_ = nullptr;
    std::string name_;
    std::vector<std::string> words_;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeGlobalCommands() {
    return std::make_unique<GlobalCommands>();
}

}  // namespace rivode::cli
