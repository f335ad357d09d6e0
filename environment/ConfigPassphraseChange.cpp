// Changing the configuration passphrase: re-enciphering every stored value and the crash-safe
// order of the change (see ConfigPassphraseStartup.h).
#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/ConfigPassphraseStartup.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YProgressDialog.h>

#include "config/SensitiveDataConversion.h"
#include "products/PolicyValues.h"
#include "storage/ciphers/SecretText.h"

namespace msg = rivode::msg;

namespace {

// The note of a change in progress, beside the check value in the global key: "1" followed by
// the old passphrase, or "0" for a reset, enciphered under the new passphrase.
constexpr std::u16string_view kConversionNoteName = u"Config Passphrase Conversion";
constexpr std::u16string_view kCheckValueName = u"Config Passphrase";

YUnicodeString StoredGlobalString(std::u16string_view name) {
    YProfileStore store(true);
    YUnicodeString text;
    if (store.GetRootKey().SubKeyExists(kGlobalKeyName)) {
        const YProfileKey global(store.GetRootKey(), kGlobalKeyName);
        global.GetString(name, text);
    }
    return text;
}

// Writes the check value and the note (empty: removed) in one save of the global key, then
// makes the shared record hold the same check value.
bool StoreCheckAndNote(const YEncryptedString& check, const YUnicodeString& note,
                       YReportMessageParams& report) {
    {
        YProfileStore store;
        const YProfileKey global(store.GetRootKey(), kGlobalKeyName, true);
        bool written = global.SetString(kCheckValueName, check.GetEncryptedText());
        written = (note.empty() ? global.DeleteValue(kConversionNoteName) || true
                                : global.SetString(kConversionNoteName, note)) &&
                  written;
        if (!written || !global.Flush()) {
            YReportMessageParams cause(global.GetStatus());
            WrapReport(report, msg::PassphraseCheckSaveFailed, {}, cause);
            return false;
        }
    }
    if (const YRefPtr<GlobalConfig> record = GetGlobalConfig()) {
        record->configPassphrase = check;
        record->configPassphrase.Commit();
    }
    return true;
}

bool Encipher(const YUnicodeString& plaintext, const YUnicodeString& passphrase,
              YEncryptedString& out) {
    return out.SetPlaintext(plaintext, passphrase);
}

}  // namespace

bool IsConfigPassphraseRequired(int product) {
    return IsPolicyEnabled(product, kPolicyRequireConfigPassphrase);
}

bool IsConfigPassphraseCorrect(const YUnicodeString& passphrase) {
    YEncryptedString check;
    check.SetEncryptedText(StoredGlobalString(kCheckValueName));
    if (check.GetEncryptedText().empty()) {
        return passphrase.empty();
    }
    YUnicodeString plaintext;
    const bool correct = check.GetPlaintext(plaintext, passphrase);
    rivode::storage::WipeText(plaintext);
    return correct;
}

ConfigPassphraseState GetConfigPassphraseState(int product) {
    ConfigPassphraseState state;
    const YUnicodeString check = StoredGlobalString(kCheckValueName);
    state.established = !check.empty();
    state.inUse = state.established && !IsConfigPassphraseCorrect(u"");
    state.disabled = IsConfigPassphraseDisabled();
    std::uint32_t flag = 0;
    {
        YProfileStore store(true);
        if (store.GetRootKey().SubKeyExists(kGlobalKeyName)) {
            const YProfileKey global(store.GetRootKey(), kGlobalKeyName);
            state.changePending = global.GetDword(u"Change Config Passphrase", flag) && flag != 0;
        }
    }
    state.required = IsConfigPassphraseRequired(product);
    state.conversionPending = !StoredGlobalString(kConversionNoteName).empty();
    return state;
}

bool ReencryptSensitiveData(const std::optional<YUnicodeString>& oldPassphrase,
                            const YUnicodeString& newPassphrase, std::uint32_t progressId,
                            SensitiveDataResult& result, YReportMessageParams& report) {
    rivode::config::SensitiveValueConverter converter(oldPassphrase, newPassphrase);
    YReportMessageParams text(progressId);
    text.AddString(YGetAppName());
    YProgressDialog progress(text.GetTextTrimmed());
    YRunWithProgress(progress, [&converter](YProgressDialog& window) {
        std::size_t before = 0;
        for (const rivode::config::SensitiveDataStep& step :
             rivode::config::GetSensitiveDataSteps()) {
            step.run(converter,
                     [&window, before](std::size_t done) { window.SetProgress(before + done, 0); });
            before = converter.counts.records;
        }
    });
    result.converted = converter.counts.converted;
    result.notConverted = converter.counts.notConverted;
    result.records = converter.counts.records;
    result.recordsFailed = converter.counts.recordsFailed;
    if (converter.firstFailure.GetMessageId() != 0) {
        report = converter.firstFailure;
        return false;
    }
    return true;
}

bool ChangeConfigPassphrase(int, const std::optional<YUnicodeString>& oldPassphrase,
                            const YUnicodeString& newPassphrase, SensitiveDataResult& result,
                            YReportMessageParams& report) {
    YEncryptedString check;
    YEncryptedString note;
    YUnicodeString notePlain = oldPassphrase ? u"1" + *oldPassphrase : YUnicodeString(u"0");
    const bool enciphered =
        Encipher(newPassphrase, newPassphrase, check) && Encipher(notePlain, newPassphrase, note);
    rivode::storage::WipeText(notePlain);
    if (!enciphered) {
        report.SetMessage(msg::PassphraseCheckSaveFailed);
        report.AddString(u"");
        return false;
    }
    // From here on the new passphrase opens the configuration, and the note lets the next start
    // finish what this run may not.
    if (!StoreCheckAndNote(check, note.GetEncryptedText(), report)) {
        return false;
    }
    const std::uint32_t progressId =
        oldPassphrase && oldPassphrase->empty() && !newPassphrase.empty()
            ? msg::EncryptingSensitiveData
            : msg::ReencryptingSensitiveData;
    if (!ReencryptSensitiveData(oldPassphrase, newPassphrase, progressId, result, report)) {
        SetConfigPassphrase(newPassphrase.c_str());
        return false;
    }
    if (!StoreCheckAndNote(check, {}, report)) {
        return false;
    }
    SetConfigPassphraseDisabled(false);
    SetConfigPassphrase(newPassphrase.c_str());
    return true;
}

bool FinishInterruptedPassphraseChange(int product, const YUnicodeString& passphrase,
                                       SensitiveDataResult& result, YReportMessageParams& report) {
    YEncryptedString note;
    note.SetEncryptedText(StoredGlobalString(kConversionNoteName));
    YUnicodeString plain;
    if (note.GetEncryptedText().empty() || !note.GetPlaintext(plain, passphrase) || plain.empty()) {
        return true;
    }
    std::optional<YUnicodeString> old;
    if (plain[0] == u'1') {
        old = plain.substr(1);
    }
    rivode::storage::WipeText(plain);
    const bool finished = ChangeConfigPassphrase(product, old, passphrase, result, report);
    if (old) {
        rivode::storage::WipeText(*old);
    }
    return finished;
}
