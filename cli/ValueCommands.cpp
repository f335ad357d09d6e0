// values, get, set, delete: the values of a key.
#include "CommandStore.h"
#include "Commands.h"
#include "KeyListing.h"
#include "Output.h"
#include "StoredValues.h"
#include "ValueFormat.h"
#include "ValueParse.h"

namespace rivode::cli {

namespace {

bool ParseValueArgument(const ValueArgument& argument, ValueData& value, std::string& problem) {
    switch (argument.kind) {
        case ValueKindDword: {
            std::uint32_t number = 0;
            if (!ParseDwordText(argument.text, number, problem)) {
                return false;
            }
            value = number;
            return true;
        }
        case ValueKindString: {
            YUnicodeString text;
            if (!ParseValueText(argument.text, text, problem)) {
                return false;
            }
            value = std::move(text);
            return true;
        }
        case ValueKindBinary: {
            ByteBlock bytes;
            if (!ParseHexBytes(argument.text, bytes, problem)) {
                return false;
            }
            value = std::move(bytes);
            return true;
        }
        case ValueKindMultiString: {
            YStringArray items(argument.items.size());
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (!ParseValueText(argument.items[i], items[i], problem)) {
                    return false;
                }
            }
            value = std::move(items);
            return true;
        }
        default:
            problem = "set needs the new value: --dword, --string, --binary or --multi";
            return false;
    }
}

// The key's failure report; a key may fail to store without saying why (a read-only store).
std::string StoreProblem(const YProfileKey& key) {
    return ReportText(key.GetStatus(), "the configuration file could not be written");
}

struct ValueAddress {
    KeyPath path;
    YUnicodeString name;
};

bool ParseValueAddress(const CommandOptions& options, ValueAddress& address,
                       CommandFailure& failure) {
    std::string problem;
    if (!ParseKeyPath(options.keyPath, address.path, problem) ||
        !ParseValueName(options.valueName, address.name, problem)) {
        failure = UsageFailure(problem);
        return false;
    }
    return true;
}

std::string DescribeValue(const ValueAddress& address) {
    return "\"" + ToUtf8(address.name) + "\" of the key \"" + address.path.ToDisplayText() + "\"";
}

}  // namespace

ExitStatus RunValues(const CommandOptions& options) {
    ValueData value;
    return PrintKeyListing(options, true,
                           [&value](const YProfileKey& key, const YUnicodeString& name,
                                    int kind) -> std::optional<ListingRow> {
                               const bool readable = ReadValue(key, name, kind, value);
                               return ListingRow{
                                   {{"name", ToUtf8(name)},
                                    {"kind", ValueKindWord(kind)},
                                    {"value", readable ? ValueToJson(value) : nlohmann::json()}},
                                   ToUtf8(name) + '\t' + ValueKindWord(kind) + '\t' +
                                       (readable ? FormatValueInline(value) : std::string())};
                           });
}

ExitStatus RunGet(const CommandOptions& options) {
    ValueAddress address;
    CommandFailure failure;
    if (!ParseValueAddress(options, address, failure)) {
        return Fail(failure);
    }
    CommandStore store(options.folders, true);
    const YProfileKey* key = store.OpenForReading(address.path, failure);
    if (key == nullptr) {
        return Fail(failure);
    }
    int kind = ValueKindUnknown;
    if (!FindValueKind(*key, address.name, kind)) {
        // A key whose file could not be read has no values to show, but that is not the same.
        if (!key->GetStatus().IsSuccess()) {
            return Fail(StoreFailure("the key \"" + address.path.ToDisplayText() +
                                     "\" cannot be read: " + StoreProblem(*key)));
        }
        return Fail(StoreFailure("there is no value " + DescribeValue(address)));
    }
    ValueData value;
    if (!ReadValue(*key, address.name, kind, value)) {
        return Fail(StoreFailure("the value " + DescribeValue(address) +
                                 " cannot be read: " + StoreProblem(*key)));
    }
    if (options.json) {
        PrintJson(ValueToJson(value));
        return ExitOk;
    }
    for (const std::string& line : FormatValueLines(value)) {
        PrintLine(line);
    }
    return ExitOk;
}

ExitStatus RunSet(const CommandOptions& options, const ValueArgument& argument) {
    ValueAddress address;
    CommandFailure failure;
    if (!ParseValueAddress(options, address, failure)) {
        return Fail(failure);
    }
    ValueData value;
    std::string problem;
    if (!ParseValueArgument(argument, value, problem)) {
        return Fail(UsageFailure(problem));
    }
    CommandStore store(options.folders, false);
    const YProfileKey* key = store.OpenOrCreate(address.path, failure);
    if (key == nullptr) {
        return Fail(failure);
    }
    if (!WriteValue(*key, address.name, value) || !key->Flush()) {
        return Fail(StoreFailure("cannot store the value " + DescribeValue(address) + ": " +
                                 StoreProblem(*key)));
    }
    return ExitOk;
}

ExitStatus RunDelete(const CommandOptions& options) {
    ValueAddress address;
    CommandFailure failure;
    if (!ParseValueAddress(options, address, failure)) {
        return Fail(failure);
    }
    CommandStore store(options.folders, false);
    std::string missingPath;
    const YProfileKey* key = store.OpenExisting(address.path, missingPath);
    int kind = ValueKindUnknown;
    // Removing an absent value succeeds, and must not write a file for a key that has none.
    if (key == nullptr || !FindValueKind(*key, address.name, kind)) {
        return ExitOk;
    }
    if (!key->DeleteValue(address.name) || !key->Flush()) {
        return Fail(StoreFailure("cannot delete the value " + DescribeValue(address) + ": " +
                                 StoreProblem(*key)));
    }
    return ExitOk;
}

}  // namespace rivode::cli
