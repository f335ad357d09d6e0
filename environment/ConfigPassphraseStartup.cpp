// InitializeConfigPassphrase: the start-up flow that establishes the configuration passphrase.
#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/ConfigPassphraseDialogs.h>
#include <RivodeRavudaVU/ConfigPassphraseStartup.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YMessageBox.h>

#include "environment/PassphraseStartupTesting.h"
#include "platform/ConsoleTerminal.h"
#include "storage/ciphers/SecretText.h"
#include "storage/passphrase/ConfigPassphraseBlock.h"

#include <atomic>
#include <thread>

namespace msg = rivode::msg;
using rivode::storage::WipeText;

namespace {

constexpr int kFerrule = 9;
std::atomic<long long> claimWaitUnitMs{250};

// A passphrase held while the flow runs, wiped when it goes.
struct Secret {
    YUnicodeString text;
    ~Secret() { WipeText(text); }
};

unsigned Fail(std::uint32_t id, unsigned result, YReportMessageParams& report) {
    report.SetMessage(id);
    return result;
}

YUnicodeString MessageText(std::uint32_t id) {
    YReportMessageParams text(id);
    text.AddString(YGetAppName());
    return text.GetText();
}

// A message printed on the console, on its own line.
void PrintConsole(std::uint32_t id) {
    rivode::platform::ConsoleTerminal terminal;
    if (terminal.IsOpen()) {
        YUnicodeString text = MessageText(id);
        while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) {
            text.pop_back();
        }
        terminal.Write(rivode::ToUtf8(text) + "\r\n");
    }
}

// Enter: true (try again); Ctrl+C, Escape or the end of input: false.
bool WaitForEnterOnConsole() {
    rivode::platform::ConsoleTerminal terminal;
    for (char byte = 0; terminal.IsOpen();) {
        if (terminal.ReadByte(byte) != rivode::platform::ConsoleTerminal::KeyResult::Key ||
            byte == 0x03 || byte == 0x1B) {
            return false;
        }
        if (byte == '\r' || byte == '\n') {
            return true;
        }
    }
    return false;
}

YUnicodeString ConsolePrompt(std::uint32_t id) {
    YUnicodeString prompt = YReportMessageParams(id).GetText();
    while (!prompt.empty() && (prompt.back() == u'\n' || prompt.back() == u'\r')) {
        prompt.pop_back();
    }
    return prompt;
}

// Step 2: the claim, with its waits; 0 when claimed, else the result to return.
std::optional<unsigned> ClaimEntry(unsigned flags, YReportMessageParams& report) {
    const bool noPrompt = (flags & kConfigPassphraseNoPrompt) != 0;
    for (;;) {
        for (int left = noPrompt ? 25 : 5; left > 0;) {
            if (ClaimPassphraseEntry()) {
                return std::nullopt;
            }
            if (--left > 0) {
                const long long units = (left / 5 + 1) * 5 - left;
                std::this_thread::sleep_for(std::chrono::milliseconds(units * claimWaitUnitMs));
            }
        }
        if (noPrompt) {
            return Fail(msg::PassphraseBusyElsewhere, kConfigPassphraseResultCancelled, report);
        }
        if ((flags & kConfigPassphraseConsoleMode) != 0) {
            PrintConsole(msg::PassphraseBusyPressEnter);
            if (!WaitForEnterOnConsole()) {
                return kConfigPassphraseResultCancelled;
            }
            continue;
        }
        YReportMessageParams busy(msg::PassphraseBusyClickOk);
        if (YMessageBox(busy, YMB_OKCANCEL) != YID_OK) {
            return kConfigPassphraseResultCancelled;
        }
        // OK tries once more, and asks again when that fails.
        if (ClaimPassphraseEntry()) {
            return std::nullopt;
        }
    }
}

// Releases the entry claim on every way out.
struct EntryClaim {
    ~EntryClaim() { ReleasePassphraseEntry(); }
};

bool Deciphers(const YEncryptedString& check, const YUnicodeString& passphrase) {
    YUnicodeString plaintext;
    const bool correct = check.GetPlaintext(plaintext, passphrase);
    WipeText(plaintext);
    return correct;
}

// Console creation: typed twice; an empty answer means "without a configuration passphrase".
bool CreateOnConsole(YUnicodeString& passphrase) {
    for (;;) {
        Secret first;
        Secret second;
        if (!ReadConsoleLine(ConsolePrompt(msg::ConsoleCreatePassphrasePrompt), true, u'*', true,
                             first.text) ||
            !ReadConsoleLine(ConsolePrompt(msg::ConsoleReenterPassphrasePrompt), true, u'*', true,
                             second.text)) {
            return false;
        }
        if (first.text == second.text) {
            passphrase = first.text;
            return true;
        }
        PrintConsole(msg::PassphrasesDoNotMatch);
    }
}

// Console entry: repeated until the passphrase deciphers the check value.
bool EnterOnConsole(const YEncryptedString& check, YUnicodeString& passphrase) {
    for (;;) {
        Secret typed;
        if (!ReadConsoleLine(ConsolePrompt(msg::ConsolePassphrasePrompt), true, u'*', true,
                             typed.text)) {
            return false;
        }
        if (typed.text.empty()) {
            PrintConsole(msg::PassphraseEmpty);
        } else if (!Deciphers(check, typed.text)) {
            PrintConsole(msg::PassphraseIncorrect);
        } else {
            passphrase = typed.text;
            return true;
        }
    }
}

class PassphraseFlow {
public:
    PassphraseFlow(int product, unsigned flags, YReportMessageParams& report,
                   const char16_t* hostPassphrase)
        : product_(product), flags_(flags), report_(report), integrated_(IsIntegrated(product)) {
        if (hostPassphrase != nullptr) {
            host_.emplace();
            host_->text = hostPassphrase;
        }
    }

    unsigned Run() {
        record_ = GetGlobalConfig();
        check_ = record_->configPassphrase;
        if (check_.GetEncryptedText().empty()) {
            return Create();
        }
        if (host_ && Deciphers(check_, host_->text)) {
            return Publish(host_->text);
        }
        noneInUse_ = Deciphers(check_, u"");
        required_ = IsConfigPassphraseRequired(product_);
        for (;;) {
            while (record_->changeConfigPassphrase.Get()) {
                if (const std::optional<unsigned> result = RunPendingChange()) {
                    return *result;
                }
            }
            if (const std::optional<unsigned> result = Enter()) {
                return *result;
            }
        }
    }

private:
    bool Console() const { return (flags_ & kConfigPassphraseConsoleMode) != 0; }
    bool NoPrompt() const { return (flags_ & kConfigPassphraseNoPrompt) != 0; }

    // Publishes passphrase, first finishing a change an earlier run could not complete.
    unsigned Publish(const YUnicodeString& passphrase) {
        SetConfigPassphraseDisabled(false);
        SetConfigPassphrase(passphrase.c_str());
        SensitiveDataResult result;
        if (!FinishInterruptedPassphraseChange(product_, passphrase, result, report_)) {
            // The values that could be converted are; the rest stay for the next start.
            report_.SetMessage(0);
        }
        return kConfigPassphraseResultOk;
    }

    // Step 4: no passphrase was ever established.
    unsigned Create() {
        if (NoPrompt()) {
            return Fail(msg::PassphrasePromptNotAllowed, kConfigPassphraseResultCancelled, report_);
        }
        Secret chosen;
        if (Console()) {
            if (!CreateOnConsole(chosen.text)) {
                return kConfigPassphraseResultCancelled;
            }
        } else if (product_ == kFerrule && !integrated_) {
            // Running alone, it keeps secrets under the empty passphrase without asking.
        } else if (IsConfigPassphraseRequired(product_)) {
            RequirePassphraseDialogBase dialog(product_, integrated_);
            if (dialog.DoModal() != YID_OK) {
                return kConfigPassphraseResultCancelled;
            }
            chosen.text = dialog.passphrase;
        } else {
            // The notice is informational: how it ends does not change the creation.
            CreatePassphraseWarningDialogBase().DoModal();
            CreatePassphraseDialogBase dialog(product_, integrated_);
            if (dialog.DoModal() != YID_OK) {
                return kConfigPassphraseResultCancelled;
            }
            chosen.text = dialog.GetChosenPassphrase();
        }
        return Establish(u"", chosen.text);
    }

    // Sets the check value to newPassphrase and converts the stored values (the first-time
    // encryption from the empty passphrase, or a change).
    unsigned Establish(const std::optional<YUnicodeString>& old, const YUnicodeString& fresh) {
        SetConfigPassphraseDisabled(false);
        if (old) {
            SetConfigPassphrase(old->c_str());
        }
        SensitiveDataResult result;
        if (!ChangeConfigPassphrase(product_, old, fresh, result, report_)) {
            // A record that could not be saved is finished at the next start from the note.
            if (report_.GetMessageId() == msg::PassphraseCheckSaveFailed) {
                return kConfigPassphraseResultCancelled;
            }
            report_.SetMessage(0);
        }
        return kConfigPassphraseResultOk;
    }

    // Step 6 for one pending change; nullopt to look at the flag again.
    std::optional<unsigned> RunPendingChange() {
        if (NoPrompt()) {
            return Fail(msg::PassphrasePromptNotAllowed, kConfigPassphraseResultCancelled, report_);
        }
        if (Console()) {
            return Fail(msg::PassphraseChangeNeedsGui, kConfigPassphraseResultChangeNotPossible,
                        report_);
        }
        record_->changeConfigPassphrase = false;
        if (required_ && noneInUse_) {
            return RequireNow();
        }
        ChangeConfigPassphraseDialogBase dialog(product_, check_.GetEncryptedText(), required_);
        if (dialog.DoModal() == YID_OK) {
            std::optional<YUnicodeString> old;
            if (dialog.mode != ChangeConfigPassphraseDialogBase::Mode::Reset) {
                old = dialog.oldPassphrase;
            }
            const unsigned result = Establish(old, dialog.GetNewPassphrase());
            SaveGlobal();
            return result;
        }
        SaveGlobal();
        return std::nullopt;
    }

    // Step 9: the policy requires a passphrase and none is in use.
    unsigned RequireNow() {
        RequirePassphraseDialogBase dialog(product_, integrated_);
        if (dialog.DoModal() != YID_OK) {
            return kConfigPassphraseResultCancelled;
        }
        const unsigned result = Establish(u"", dialog.passphrase);
        SaveGlobal();
        return result;
    }

    // Steps 7 and 8; nullopt to go back to step 6 (a change was asked for).
    std::optional<unsigned> Enter() {
        Secret accepted;
        bool changeAsked = false;
        bool continueWithout = false;
        if (noneInUse_ && !host_) {
            // The empty passphrase is in use: nobody needs to be asked.
        } else if (NoPrompt()) {
            return Fail(msg::PassphrasePromptNotAllowed, kConfigPassphraseResultCancelled, report_);
        } else if ((flags_ & kConfigPassphraseContinueDisabled) != 0) {
            SetConfigPassphraseDisabled(true);
            return kConfigPassphraseResultOk;
        } else if (Console()) {
            if (!EnterOnConsole(check_, accepted.text)) {
                return kConfigPassphraseResultCancelled;
            }
        } else {
            EnterPassphraseDialogBase dialog(product_, check_.GetEncryptedText());
            const int ended = dialog.DoModal();
            changeAsked = ended == EnterPassphraseDialogBase::kChangeRequested;
            if (ended != YID_OK && !changeAsked) {
                return kConfigPassphraseResultCancelled;
            }
            continueWithout = dialog.continueWithout && !changeAsked;
            accepted.text = dialog.passphrase;
        }
        if ((required_ && accepted.text.empty() && !continueWithout) || changeAsked) {
            record_->changeConfigPassphrase = true;
            return std::nullopt;
        }
        if (continueWithout) {
            SetConfigPassphraseDisabled(true);
            return kConfigPassphraseResultOk;
        }
        return Publish(accepted.text);
    }

    void SaveGlobal() {
        YReportMessageParams ignored;
        // A flag that could not be saved is asked about again at the next start.
        static_cast<void>(record_->SaveToStore(ignored));
    }

    int product_;
    unsigned flags_;
    YReportMessageParams& report_;
    bool integrated_;
    std::optional<Secret> host_;
    YRefPtr<GlobalConfig> record_;
    YEncryptedString check_;
    bool noneInUse_ = false;
    bool required_ = false;
};

}  // namespace

void SetPassphraseClaimWaitUnit(std::chrono::milliseconds unit) {
    claimWaitUnitMs = unit.count();
}

std::chrono::milliseconds GetPassphraseClaimWaitUnit() {
    return std::chrono::milliseconds(claimWaitUnitMs.load());
}

unsigned InitializeConfigPassphrase(int product, unsigned flags, YReportMessageParams& report,
                                    const char16_t* hostPassphrase) {
    report = YReportMessageParams();
    if (const std::optional<unsigned> busy = ClaimEntry(flags, report)) {
        return *busy;
    }
    const EntryClaim claim;
    if (IsPassphraseKnown()) {
        return kConfigPassphraseResultOk;
    }
    return PassphraseFlow(product, flags, report, hostPassphrase).Run();
}

ConfigPassphraseEntryClaim::ConfigPassphraseEntryClaim(YReportMessageParams& report)
    : held_(!ClaimEntry(kConfigPassphraseNoPrompt, report)) {}

ConfigPassphraseEntryClaim::~ConfigPassphraseEntryClaim() {
    if (held_) {
        ReleasePassphraseEntry();
    }
}

void LaunchChangeConfigPassphrasePrompt(int product) {
    YReportMessageParams question(IsIntegrated(product)
                                      ? msg::AskChangePassphraseAtRestartIntegrated
                                      : msg::AskChangePassphraseAtRestart);
    question.AddString(YGetAppName());
    const bool yes = YMessageBox(question, YMB_YESNO | YMB_ICONQUESTION) == YID_YES;
    if (const YRefPtr<GlobalConfig> record = GetGlobalConfig()) {
        record->changeConfigPassphrase = yes;
    }
}
