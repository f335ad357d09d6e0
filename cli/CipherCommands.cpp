// encrypt, decrypt: the "02:" form of sensitive values, for scripts that prepare or inspect a
// configuration. Secrets come from standard input only, never from the command line, where other
// users could see them in the process list.
#include "CommandGroup.h"
#include "Output.h"
#include "StandardInput.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YEncryptedString.h>
#include <RivodeRavudaVU/YSecretText.h>

namespace rivode::cli {
namespace {

// The passphrase: the first line of standard input when asked for, else the empty passphrase
// that stands for "no configuration passphrase".
bool ReadPassphrase(bool fromInput, YSecretText& passphrase, CommandFailure& failure) {
    return !fromInput ||
           ReadInputText("Passphrase: ", "passphrase", true, passphrase.Text(), failure);
}

void PrintResult(const CommandOptions& options, const char* field, const YUnicodeString& text) {
    if (options.json) {
        PrintJson({{field, ToUtf8(text)}});
    } else {
        PrintLine(ToUtf8(text));
    }
}

ExitStatus RunEncrypt(const CommandOptions& options, bool passphraseFromInput) {
    YSecretText passphrase;
    YSecretText plaintext;
    CommandFailure failure;
    if (!ReadPassphrase(passphraseFromInput, passphrase, failure) ||
        !ReadInputText("Value to encrypt: ", "value to encrypt", true, plaintext.Text(), failure)) {
        return Fail(failure);
    }
    YEncryptedString value;
    if (!value.SetPlaintext(plaintext.Text(), passphrase.Text())) {
        return Fail(StoreFailure("the value could not be encrypted"));
    }
    PrintResult(options, "text", value.GetEncryptedText());
    return ExitOk;
}

// The text comes from standard input too: an argument would show which stored value is being
// deciphered to every user who lists processes.
ExitStatus RunDecrypt(const CommandOptions& options, bool passphraseFromInput) {
    YSecretText passphrase;
    YUnicodeString text;
    CommandFailure failure;
    if (!ReadPassphrase(passphraseFromInput, passphrase, failure) ||
        !ReadInputText("Encrypted text: ", "encrypted text", false, text, failure)) {
        return Fail(failure);
    }
    YEncryptedString value;
    value.SetEncryptedText(std::move(text));
    YSecretText plaintext;
    YReportMessageParams report;
    if (value.GetPlaintext(plaintext.Text(), passphrase.Text(), report)) {
        PrintResult(options, "plaintext", plaintext.Text());
        return ExitOk;
    }
    if (report.GetMessageId() == rivode::msg::EncryptedTextMalformed) {
        return Fail(UsageFailure(ReportText(report)));
    }
    // Without --passphrase-stdin rivode tried the empty passphrase: the user gave none.
    return Fail(StoreFailure(passphraseFromInput
                                 ? ReportText(report)
                                 : "the value was encrypted with a configuration passphrase: "
                                   "give it with --passphrase-stdin"));
}

class CipherCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        encrypt_ = app.add_subcommand(
            "encrypt",
            "Encrypt the value on the next line of standard input as a sensitive value "
            "(\"02:\" text)");
        decrypt_ = app.add_subcommand(
            "decrypt",
            "Print the plaintext of the encrypted value (\"02:\" text) on the next line of "
            "standard input");
        for (CLI::App* command : {encrypt_, decrypt_}) {
            command->add_flag("--passphrase-stdin", passphraseFromInput_,
                              "Read the configuration passphrase from the first line of standard "
                              "input, before the value's line; without it, the value is one "
                              "stored without a passphrase");
        }
        encrypt_->add_flag("--json", options.json, "Print JSON: {\"text\"}");
        decrypt_->add_flag("--json", options.json, "Print JSON: {\"plaintext\"}");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (encrypt_->parsed()) {
            return RunEncrypt(options, passphraseFromInput_);
        }
        if (decrypt_->parsed()) {
            return RunDecrypt(options, passphraseFromInput_);
        }
        return std::nullopt;
    }

private:
    CLI::App* encrypt_ = nullptr;
    CLI::App* decrypt_ = nullptr;
    bool passphraseFromInput_ = false;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeCipherCommands() {
    return std::make_unique<CipherCommands>();
}

}  // namespace rivode::cli
