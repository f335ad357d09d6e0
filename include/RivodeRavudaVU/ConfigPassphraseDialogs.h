// The rules of the configuration-passphrase dialogs, without their windows: what each dialog
// offers, the texts it shows and what its OK accepts. The user-interface half binds each class to
// its form by template id; console hosts use Validate directly.
//
// Each Validate returns false with the failure in report and leaves the dialog open; OnOK shows
// that failure in a message box. Passphrase fields are wiped when the dialog goes.
#pragma once

#include <DavaraZE/YDialog.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>

#pragma GCC visibility push(default)

class PassphraseDialogBase : public YDialog {
public:
    ~PassphraseDialogBase() override;
    void OnOK() override;
    // Whether the fields allow OK; false with the failure in report.
    [[nodiscard]] virtual bool Validate(YReportMessageParams& report) const = 0;

    YUnicodeString passphrase;
    YUnicodeString confirmation;

protected:
    PassphraseDialogBase(unsigned templateId, int product, QWidget* parent);
    int product_;
};

// "Create Passphrase": with a passphrase (typed twice) or without one.
class CreatePassphraseDialogBase : public PassphraseDialogBase {
public:
    static constexpr unsigned kTemplateId = 11600;
    CreatePassphraseDialogBase(int product, bool integrated, QWidget* parent = nullptr);

    bool withPassphrase = true;

    // The title (0x61380031) and the texts for product: the explanation, the "must be entered"
    // note and the note shown with "without a configuration passphrase".
    YUnicodeString GetTitle() const;
    std::uint32_t GetExplanationId() const;
    std::uint32_t GetMustBeEnteredId() const;
    std::uint32_t GetWithoutPassphraseNoteId() const;
    bool Validate(YReportMessageParams& report) const override;
    // The passphrase the user chose (empty without one).
    YUnicodeString GetChosenPassphrase() const { return withPassphrase ? passphrase : u""; }

private:
    bool integrated_;
};

// The one-time notice shown before creation: the configuration moves to the new encryption.
class CreatePassphraseWarningDialogBase : public YDialog {
public:
    static constexpr unsigned kTemplateId = 11601;
    explicit CreatePassphraseWarningDialogBase(QWidget* parent = nullptr);
    static std::uint32_t GetTextId();
};

// "Enter Passphrase": the passphrase, or going on without it.
class EnterPassphraseDialogBase : public PassphraseDialogBase {
public:
    static constexpr unsigned kTemplateId = 11602;
    // The result of DoModal when "Change Passphrase..." ended the dialog.
    static constexpr int kChangeRequested = 100;
    // checkText: the stored check value the passphrase must decipher.
    EnterPassphraseDialogBase(int product, YUnicodeString checkText, QWidget* parent = nullptr);

    bool continueWithout = false;
    // The warning shown when going on without the passphrase.
    static std::uint32_t GetContinueWarningId();
    bool Validate(YReportMessageParams& report) const override;
    // "Change Passphrase...": ends the dialog asking for the change flow.
    void OnChangePassphrase() { EndDialog(kChangeRequested); }

private:
    YUnicodeString checkText_;
};

// "Change or Reset Passphrase": change (old, new, confirm), remove (old) or reset (new, confirm).
class ChangeConfigPassphraseDialogBase : public PassphraseDialogBase {
public:
    static constexpr unsigned kTemplateId = 11603;
    enum class Mode { Change, Remove, Reset };
    ChangeConfigPassphraseDialogBase(int product, YUnicodeString checkText, bool policyRequired,
                                     QWidget* parent = nullptr);

    Mode mode = Mode::Change;
    YUnicodeString oldPassphrase;
    bool Validate(YReportMessageParams& report) const override;
    // The passphrase the configuration will have: empty for a removal.
    YUnicodeString GetNewPassphrase() const {
        return mode == Mode::Remove ? YUnicodeString() : passphrase;
    }

private:
    YUnicodeString checkText_;
    bool policyRequired_;
};

// Shown when the policy requires a passphrase and none is in use.
class RequirePassphraseDialogBase : public PassphraseDialogBase {
public:
    static constexpr unsigned kTemplateId = 11604;
    RequirePassphraseDialogBase(int product, bool integrated, QWidget* parent = nullptr);
    YUnicodeString GetTitle() const;
    std::uint32_t GetTextId() const;
    bool Validate(YReportMessageParams& report) const override;

private:
    bool integrated_;
};

// "Passphrases Do Not Match", for settings import: import the sensitive data (with the
// passphrase of the imported settings) or leave it out.
class ImportSettingsPassphraseDialogBase : public PassphraseDialogBase {
public:
    static constexpr unsigned kTemplateId = 11605;
    ImportSettingsPassphraseDialogBase(int product, YUnicodeString importedCheckText,
                                       QWidget* parent = nullptr);
    bool importSensitiveData = true;
    static std::uint32_t GetTextId();
    bool Validate(YReportMessageParams& report) const override;

private:
    YUnicodeString importedCheckText_;
};

#pragma GCC visibility pop
