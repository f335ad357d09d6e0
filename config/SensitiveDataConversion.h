// Re-enciphering every stored sensitive value from one configuration passphrase to another: the
// converter that decides each value, and the walks over the records that hold such values.
//
// The walk is a list of steps, one per kind of record (sessions, saved credentials); a record
// kind that keeps sensitive values (firewalls) adds its own step to GetSensitiveDataSteps.
#pragma once

#include "platform/SecureMemory.h"

#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace rivode::config {

struct SensitiveDataCounts {
    std::size_t converted = 0;      // values now enciphered under the new passphrase
    std::size_t notConverted = 0;   // values that deciphered under neither passphrase: unchanged
    std::size_t records = 0;        // records (sessions, credentials) visited
    std::size_t recordsFailed = 0;  // records whose converted values could not be saved
};

// Decides each value. A value that already deciphers under the new passphrase is left as it is
// (it was converted by an earlier, interrupted run); one that deciphers under the old passphrase
// is enciphered under the new one; without an old passphrase (a reset) any other value becomes
// the empty value under the new passphrase; otherwise it stays unchanged and is counted. Empty
// stored texts hold no value and are left alone.
class SensitiveValueConverter {
public:
    // oldPassphrase: nullopt for a reset.
    SensitiveValueConverter(std::optional<YUnicodeString> oldPassphrase,
                            YUnicodeString newPassphrase);
    ~SensitiveValueConverter();
    SensitiveValueConverter(const SensitiveValueConverter&) = delete;
    SensitiveValueConverter& operator=(const SensitiveValueConverter&) = delete;

    // Converts value in place; true when its text changed (the record must be saved).
    bool Convert(YProfileEncryptedString& value);

    SensitiveDataCounts counts;
    // The first record that could not be saved, with the reason.
    YReportMessageParams firstFailure;
    void RecordFailed(const YUnicodeString& name, const YReportMessageParams& status);

private:
    std::optional<YUnicodeString> old_;
    YUnicodeString new_;
};

// Told after each record: how many records the step has done.
using SensitiveDataProgress = std::function<void(std::size_t done)>;

struct SensitiveDataStep {
    std::u16string_view name;
    void (*run)(SensitiveValueConverter& converter, const SensitiveDataProgress& progress);
};

// Every session of the session database, then every saved credential. Each record is loaded,
// converted and, when a value changed, saved; the files reach the disk through one sync at the
// end of each step.
const std::vector<SensitiveDataStep>& GetSensitiveDataSteps();

}  // namespace rivode::config
