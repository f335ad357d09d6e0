#include "PassphraseStartup.h"

#include "Output.h"
#include "SessionCommandSupport.h"
#include "StandardInput.h"

#include <DavaraZE/YConsole.h>

#include <RivodeRavudaVU/ConfigPassphrase.h>
#include <RivodeRavudaVU/ConfigPassphraseStartup.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YSecretText.h>

namespace rivode::cli {

namespace {

// A passphrase published for another configuration (the block is per user, not per folder)
// would be taken as this one's: the process keeps its passphrase to itself instead.
void AvoidForeignPublication(const CommandOptions& options) {
    if (IsConfigPassphraseDisabled()) {
        return;
    }
    const YSecretText published(GetConfigPassphrase());
    if (!published.empty() && !IsConfigPassphraseCorrect(published.Text())) {
        RivodeRavudaVuInit(options.product, nullptr, kRivodeInitNoUserInterface);
    }
}

}  // namespace

bool EstablishPassphrase(const CommandOptions& options, bool fromInput, CommandFailure& failure) {
    const ConfigPassphraseState state = GetConfigPassphraseState(options.product);
    const bool terminal = YHasConsoleTerminal();
    if (!state.established && !state.required && !terminal && !fromInput) {
        return true;
    }
    if (state.established) {
        AvoidForeignPublication(options);
    }
    // The flow may finish an interrupted change, which rewrites sessions: their protocols'
    // values must be known to be kept.
    if (state.conversionPending && !LoadSessionProtocols(options, failure)) {
        return false;
    }
    YSecretText host;
    if (fromInput &&
        !ReadInputText("Configuration passphrase: ", "passphrase", true, host.Text(), failure)) {
        return false;
    }
    const unsigned flags = terminal ? kConfigPassphraseConsoleMode : kConfigPassphraseNoPrompt;
    YReportMessageParams report;
    const unsigned result = InitializeConfigPassphrase(options.product, flags, report,
                                                       fromInput ? host.c_str() : nullptr);
    // A wrong passphrase on standard input falls through to asking, which a script cannot
    // answer: it is told what was wrong with what it gave.
    const bool givenWrong =
        fromInput && result != kConfigPassphraseResultOk && !IsConfigPassphraseCorrect(host.Text());
    if (result == kConfigPassphraseResultOk) {
        return true;
    }
    if (givenWrong) {
        YReportMessageParams incorrect(rivode::msg::PassphraseIncorrect);
        failure = ReportFailure(incorrect);
        return false;
    }
    if (report.GetMessageId() == 0) {
        failure = StoreFailure("the configuration passphrase was not entered");
        return false;
    }
    failure = StoreFailure(ReportText(report));
    return false;
}

}  // namespace rivode::cli
