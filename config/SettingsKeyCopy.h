// Copying a key of the settings file into the configuration (or back) value by value, with the
// sensitive values passed through the import's passphrase decision on the way.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace rivode::config {

// What becomes of a string value that holds an enciphered ("02:") text. Keep copies it as it
// is; Drop leaves it out, so the destination keeps what it had; Reencipher deciphers it under
// the file's passphrase and enciphers it under the current one (a value that does not decipher
// is copied unchanged and counted).
class SensitiveValuePolicy {
public:
    static SensitiveValuePolicy Keep() { return SensitiveValuePolicy(Mode::Keep); }
    static SensitiveValuePolicy Drop() { return SensitiveValuePolicy(Mode::Drop); }
    static SensitiveValuePolicy Reencipher(YUnicodeString from, YUnicodeString to);
    ~SensitiveValuePolicy();
    SensitiveValuePolicy(const SensitiveValuePolicy&) = delete;
    SensitiveValuePolicy(SensitiveValuePolicy&&) = default;

    // false: leave the value out. Otherwise text is what to write.
    bool Pass(YUnicodeString& text);
    bool DropsValues() const { return mode_ == Mode::Drop; }

    std::size_t dropped = 0;
    std::size_t reenciphered = 0;
    std::size_t notDeciphered = 0;

private:
    enum class Mode { Keep, Drop, Reencipher };
    explicit SensitiveValuePolicy(Mode mode) : mode_(mode) {}

    Mode mode_;
    YUnicodeString from_;
    YUnicodeString to_;
};

// When the keys a copy writes are stored. EachKey: each written subkey is stored before the
// next is opened, so a failure is heard at its key (a store of one file per key, as the
// configuration is). ByCaller: the caller stores everything at the end (a store of one
// document, as the settings file is, where storing a key writes the whole document).
enum class CopyStoring { EachKey, ByCaller };

// Copies every value and subkey of source into destination, each string value through policy.
// Values named in skipValues are left out at the top level of source only. false with report
// filled at the first failure.
[[nodiscard]] bool CopySettingsKey(const YProfileKey& destination, const YProfileKey& source,
                                   SensitiveValuePolicy& policy,
                                   std::initializer_list<std::u16string_view> skipValues,
                                   CopyStoring storing, YReportMessageParams& report);

}  // namespace rivode::config
