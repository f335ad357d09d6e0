// Establishing the configuration passphrase when a host starts, changing it, and re-enciphering
// the stored sensitive data (sessions, saved credentials) when it changes.
//
// The stored check value "Config Passphrase" of the global configuration holds the passphrase
// enciphered under itself: a passphrase is correct exactly when it deciphers it. An empty check
// value means no passphrase was ever established; the empty passphrase enciphered under itself
// means the user chose to work without one.
//
// A change is crash-safe: before any value is touched, the new check value and a note holding
// the old passphrase (enciphered under the new one) are stored together in one save of the
// global key. If the process dies while the values are converted, the new passphrase opens the
// configuration at the next start and the start-up flow finishes the conversion from the note;
// values are converted record by record, each record saved whole, and a value that already
// deciphers under the new passphrase is left as it is. The note goes once every record is done.
//
// Call from the host's user-interface thread.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <optional>

#pragma GCC visibility push(default)

// Flags of InitializeConfigPassphrase.
inline constexpr unsigned kConfigPassphraseConsoleMode = 0x1;  // ask on the console, not dialogs
inline constexpr unsigned kConfigPassphraseNoPrompt = 0x2;     // never ask: fail instead
inline constexpr unsigned kConfigPassphraseContinueDisabled = 0x4;  // go on with secrets off

// Result codes of InitializeConfigPassphrase.
inline constexpr unsigned kConfigPassphraseResultOk = 0;
inline constexpr unsigned kConfigPassphraseResultCancelled = 1223;        // or not possible
inline constexpr unsigned kConfigPassphraseResultChangeNotPossible = 50;  // change pending

// Establishes the passphrase of the process: created on first use, asked for when one is set,
// changed when a change is pending, required when the policy says so, or sensitive data
// switched off. hostPassphrase: a passphrase the host already has (nullptr for none); used when
// it deciphers the check value. Waits while another process enters or changes the passphrase
// and returns at once when that process has published it. report holds the reason of a result
// other than 0 when there is one.
unsigned InitializeConfigPassphrase(int product, unsigned flags, YReportMessageParams& report,
                                    const char16_t* hostPassphrase);

// The right to enter or change the passphrase, which the start-up flow holds while it asks. A
// host that changes the passphrase outside that flow (a command that changes it) holds it too,
// so that the user's processes starting meanwhile wait for the new passphrase instead of asking
// for the old one. Taken with the flow's waits, never asking; released when it goes.
class ConfigPassphraseEntryClaim {
public:
    // Not held (report: 0xE1380046) when another process kept the right past the waits.
    explicit ConfigPassphraseEntryClaim(YReportMessageParams& report);
    ~ConfigPassphraseEntryClaim();
    ConfigPassphraseEntryClaim(const ConfigPassphraseEntryClaim&) = delete;
    ConfigPassphraseEntryClaim& operator=(const ConfigPassphraseEntryClaim&) = delete;
    bool IsHeld() const { return held_; }

private:
    bool held_;
};

// Asks (Yes/No) whether the passphrase should be changed at the next start and sets "Change
// Config Passphrase" of the global configuration to the answer; the caller saves it.
void LaunchChangeConfigPassphrasePrompt(int product);

// Whether the policy "Require Configuration Passphrase" is set for product.
bool IsConfigPassphraseRequired(int product);

// Whether passphrase deciphers the stored check value (the empty check value: only the empty
// passphrase does).
bool IsConfigPassphraseCorrect(const YUnicodeString& passphrase);

struct ConfigPassphraseState {
    bool established = false;        // a check value is stored
    bool inUse = false;              // established, and not the empty passphrase
    bool disabled = false;           // this process goes on with sensitive data switched off
    bool changePending = false;      // "Change Config Passphrase" is set
    bool required = false;           // the policy requires a passphrase
    bool conversionPending = false;  // an interrupted change is still to be finished
};
ConfigPassphraseState GetConfigPassphraseState(int product);

// What re-enciphering did.
struct SensitiveDataResult {
    std::size_t converted = 0;      // values enciphered under the new passphrase
    std::size_t notConverted = 0;   // values that did not decipher: left unchanged
    std::size_t records = 0;        // sessions and credentials visited
    std::size_t recordsFailed = 0;  // records whose new values could not be saved
};

// Re-enciphers every stored sensitive value from oldPassphrase (nullopt: a reset, every value
// becomes the empty value) to newPassphrase, on a worker while a progress window shows
// progressId (0x6138003B or 0x61380036, the application name as %1). Does not touch the check
// value. false with the first save failure in report (every other record was still done).
[[nodiscard]] bool ReencryptSensitiveData(const std::optional<YUnicodeString>& oldPassphrase,
                                          const YUnicodeString& newPassphrase,
                                          std::uint32_t progressId, SensitiveDataResult& result,
                                          YReportMessageParams& report);

// The whole change: stores the new check value with the note (see above), re-enciphers, drops
// the note, saves, and publishes the new passphrase. oldPassphrase nullopt: a reset. The caller
// checked the old passphrase (ChangeConfigPassphraseDialogBase). false with a report when the
// check value could not be stored (nothing changed then) or a record could not be saved (the
// note stays, so the next start tries again).
[[nodiscard]] bool ChangeConfigPassphrase(int product,
                                          const std::optional<YUnicodeString>& oldPassphrase,
                                          const YUnicodeString& newPassphrase,
                                          SensitiveDataResult& result,
                                          YReportMessageParams& report);

// Finishes a change that was interrupted, when its note is stored and deciphers under
// passphrase (the new one). true when there was nothing to finish or it was finished.
[[nodiscard]] bool FinishInterruptedPassphraseChange(int product, const YUnicodeString& passphrase,
                                                     SensitiveDataResult& result,
                                                     YReportMessageParams& report);

// Reads a line at the console for a prompt: keys without echo, each shown as mask (or as itself
// when not masked); Backspace removes the last character; Enter ends the line (an empty line
// asks again unless allowEmpty); Ctrl+C or Escape ends the question. false when the question
// was ended, input ended, or there is no console.
[[nodiscard]] bool ReadConsoleLine(const YUnicodeString& prompt, bool masked, char16_t mask,
                                   bool allowEmpty, YUnicodeString& line);

#pragma GCC visibility pop
