// Changing one value of a session record as a command line gives it: typed values from their
// words, protocol names through their side's slot, encrypted values from standard input.
#pragma once

#include "CommandOptions.h"
#include "ExitStatus.h"

#include <RivodeRavudaVU/SessionConfig.h>

#include <string>
#include <vector>

namespace rivode::cli {

// Whether value is one of record's two protocol names.
bool IsProtocolNameValue(SessionConfig& record, const YProfileData& value);

// Sets value (a value of record called name) from words. An encrypted value takes no words: its
// plaintext is read from standard input (after the passphrase line with passphraseFromInput).
// false with the failure (usage for words that do not fit) and the record unchanged.
[[nodiscard]] bool SetSessionValue(const CommandOptions& options, SessionConfig& record,
                                   YProfileData& value, const std::string& name,
                                   const std::vector<std::string>& words, bool passphraseFromInput,
                                   CommandFailure& failure);

}  // namespace rivode::cli
