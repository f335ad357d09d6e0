#include "SessionValueSetting.h"

#include "ProfileValueText.h"
#include "SensitiveValueInput.h"
#include "SessionCommandSupport.h"

#include <RivodeRavudaVU/ConnectProtocolTable.h>

namespace rivode::cli {
namespace {

// A protocol name goes through its slot, which replaces the protocol's configuration with the new
// protocol's: the old protocol's values (its port) would not fit.
bool SetProtocolName(SessionConfig& record, YProfileData& value,
                     const std::vector<std::string>& words, CommandFailure& failure) {
    const bool terminal = &value == &record.GetTerminalSlot().NameValue();
    const auto side =
        terminal ? SessionProtocolSlot::Side::Terminal : SessionProtocolSlot::Side::Transfer;
    YUnicodeString name = words.size() == 1 ? FromUtf8(words[0]) : YUnicodeString();
    const ConnectProtocolEntry* entry = GetConnectProtocolTable().Find(name);
    if (EqualsNoCase(name, kNoProtocolName)) {
        name = kNoProtocolName;
    } else if (entry != nullptr && SessionProtocolSlot::Suits(side, entry->product)) {
        name = entry->name;
    } else {
        failure = UsageFailure(
            "give one protocol of the " + std::string(terminal ? "terminal" : "file-transfer") +
            " side the loaded modules offer, or None (they offer " + LoadedProtocolNames() + ")");
        return false;
    }
    if (terminal) {
        record.SetProtocolName(name);
    } else {
        record.SetTransferProtocolName(name);
    }
    return true;
}

}  // namespace

bool IsProtocolNameValue(SessionConfig& record, const YProfileData& value) {
    return &value == &record.GetTerminalSlot().NameValue() ||
           &value == &record.GetTransferSlot().NameValue();
}

bool SetSessionValue(const CommandOptions& options, SessionConfig& record, YProfileData& value,
                     const std::string& name, const std::vector<std::string>& words,
                     bool passphraseFromInput, CommandFailure& failure) {
    if (TypeOfProfileValue(value) == ProfileValueType::Encrypted) {
        if (!words.empty()) {
            failure = UsageFailure("\"" + name +
                                   "\" is encrypted: give its plaintext on standard input, not "
                                   "on the command line");
            return false;
        }
        return SetEncryptedValue(options, value, passphraseFromInput, failure);
    }
    if (IsProtocolNameValue(record, value)) {
        return SetProtocolName(record, value, words, failure);
    }
    if (!SetProfileValue(value, words, failure)) {
        failure.message = "cannot set \"" + name + "\": " + failure.message;
        return false;
    }
    return true;
}

}  // namespace rivode::cli
