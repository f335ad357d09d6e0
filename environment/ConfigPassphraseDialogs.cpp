#include <RivodeRavudaVU/ConfigPassphraseDialogs.h>

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YEncryptedString.h>

#include "storage/ciphers/SecretText.h"

namespace msg = rivode::msg;

namespace {

constexpr int kFerrule = 9;
constexpr int kTerminal = 3;
constexpr int kFileTransfer = 6;

bool Refuse(std::uint32_t id, YReportMessageParams& report) {
    report.SetMessage(id);
    return false;
}

bool Deciphers(const YUnicodeString& checkText, const YUnicodeString& passphrase) {
    YEncryptedString check;
    check.SetEncryptedText(checkText);
    YUnicodeString plaintext;
    const bool correct = check.GetPlaintext(plaintext, passphrase);
    rivode::storage::WipeText(plaintext);
    return correct;
}

// A new passphrase typed twice: not empty, and the same both times.
bool ValidateNew(const YUnicodeString& passphrase, const YUnicodeString& confirmation,
                 YReportMessageParams& report) {
    if (passphrase.empty()) {
        return Refuse(msg::PassphraseEmpty, report);
    }
    return passphrase == confirmation || Refuse(msg::PassphrasesDoNotMatch, report);
}

YUnicodeString TitleFor(int product) {
    YReportMessageParams title(msg::CreatePassphraseTitle);
    title.AddString(product == kFileTransfer ? u"Quillfile"
                    : product == kFerrule    ? u"Ferrule"
                    : product == kTerminal   ? u"Quillterm"
                                             : YGetAppName());
    return title.GetTextTrimmed();
}

}  // namespace

PassphraseDialogBase::PassphraseDialogBase(unsigned templateId, int product, QWidget* parent)
    : YDialog(templateId, nullptr, parent), product_(product) {}

PassphraseDialogBase::~PassphraseDialogBase() {
    rivode::storage::WipeText(passphrase);
    rivode::storage::WipeText(confirmation);
}

void PassphraseDialogBase::OnOK() {
    YReportMessageParams report;
    if (!Validate(report)) {
        YMessageBox(GetWindow(), report, YMB_ICONWARNING);
        return;
    }
    YDialog::OnOK();
}

CreatePassphraseDialogBase::CreatePassphraseDialogBase(int product, bool integrated,
                                                       QWidget* parent)
    : PassphraseDialogBase(kTemplateId, product, parent), integrated_(integrated) {}

YUnicodeString CreatePassphraseDialogBase::GetTitle() const {
    return TitleFor(product_);
}

std::uint32_t CreatePassphraseDialogBase::GetExplanationId() const {
    return integrated_ ? msg::CreatePassphraseExplanationIntegrated
                       : msg::CreatePassphraseExplanation;
}

std::uint32_t CreatePassphraseDialogBase::GetMustBeEnteredId() const {
    return integrated_ ? msg::PassphraseMustBeEnteredIntegrated : msg::PassphraseMustBeEntered;
}

std::uint32_t CreatePassphraseDialogBase::GetWithoutPassphraseNoteId() const {
    if (integrated_) {
        return msg::NoPassphraseNoteIntegrated;
    }
    if (product_ == kFerrule) {
        return msg::NoPassphraseNoteFerrule;
    }
    return product_ == kFileTransfer ? msg::NoPassphraseNoteFileTransfer
                                     : msg::NoPassphraseNoteTerminal;
}

bool CreatePassphraseDialogBase::Validate(YReportMessageParams& report) const {
    return !withPassphrase || ValidateNew(passphrase, confirmation, report);
}

CreatePassphraseWarningDialogBase::CreatePassphraseWarningDialogBase(QWidget* parent)
    : YDialog(kTemplateId, nullptr, parent) {}

std::uint32_t CreatePassphraseWarningDialogBase::GetTextId() {
    return msg::EncryptionUpgradeNotice;
}

EnterPassphraseDialogBase::EnterPassphraseDialogBase(int product, YUnicodeString checkText,
                                                     QWidget* parent)
    : PassphraseDialogBase(kTemplateId, product, parent), checkText_(std::move(checkText)) {}

std::uint32_t EnterPassphraseDialogBase::GetContinueWarningId() {
    return msg::ContinueWithoutPassphraseWarning;
}

bool EnterPassphraseDialogBase::Validate(YReportMessageParams& report) const {
    return continueWithout || Deciphers(checkText_, passphrase) ||
           Refuse(msg::PassphraseIncorrect, report);
}

ChangeConfigPassphraseDialogBase::ChangeConfigPassphraseDialogBase(int product,
                                                                   YUnicodeString checkText,
                                                                   bool policyRequired,
                                                                   QWidget* parent)
    : PassphraseDialogBase(kTemplateId, product, parent),
      checkText_(std::move(checkText)),
      policyRequired_(policyRequired) {}

bool ChangeConfigPassphraseDialogBase::Validate(YReportMessageParams& report) const {
    if (mode != Mode::Reset && !Deciphers(checkText_, oldPassphrase)) {
        return Refuse(msg::PassphraseIncorrect, report);
    }
    if (mode == Mode::Remove) {
        return !policyRequired_ || Refuse(msg::PassphraseNowRequired, report);
    }
    if (passphrase != confirmation) {
        return Refuse(msg::PassphrasesDoNotMatch, report);
    }
    return !(policyRequired_ && passphrase.empty()) || Refuse(msg::PassphraseNowRequired, report);
}

RequirePassphraseDialogBase::RequirePassphraseDialogBase(int product, bool integrated,
                                                         QWidget* parent)
    : PassphraseDialogBase(kTemplateId, product, parent), integrated_(integrated) {}

YUnicodeString RequirePassphraseDialogBase::GetTitle() const {
    return TitleFor(product_);
}

std::uint32_t RequirePassphraseDialogBase::GetTextId() const {
    return integrated_ ? msg::PassphraseRequiredByPolicyIntegrated
                       : msg::PassphraseRequiredByPolicy;
}

bool RequirePassphraseDialogBase::Validate(YReportMessageParams& report) const {
    return ValidateNew(passphrase, confirmation, report);
}

ImportSettingsPassphraseDialogBase::ImportSettingsPassphraseDialogBase(
    int product, YUnicodeString importedCheckText, QWidget* parent)
    : PassphraseDialogBase(kTemplateId, product, parent),
      importedCheckText_(std::move(importedCheckText)) {}

std::uint32_t ImportSettingsPassphraseDialogBase::GetTextId() {
    return msg::ImportPassphraseMismatch;
}

bool ImportSettingsPassphraseDialogBase::Validate(YReportMessageParams& report) const {
    return !importSensitiveData || Deciphers(importedCheckText_, passphrase) ||
           Refuse(msg::PassphraseIncorrect, report);
}
