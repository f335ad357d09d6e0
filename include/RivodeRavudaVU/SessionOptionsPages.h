// The pages of the Session Options dialog (SessionOptionsDialog.h). Each page copies the values
// it shows out of the dialog's session when it is made, the form edits the page's fields, and
// OnOK checks them and writes them back into the session (the caller saves the session).
// Pages hold the logic and no window: the user-interface back end draws each page's fields by
// its template id. User-interface thread only.
#pragma once

#include <DavaraZE/YPropertyTree.h>
#include <RivodeRavudaVU/ProfileExpectSendList.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#pragma GCC visibility push(default)

class SessionConfig;
class SessionOptionsDialogBase;

class SessionOptionsPage : public YPropertyTreePage {
public:
    // titleId: the message holding the page's name in the tree.
    SessionOptionsPage(SessionOptionsDialogBase& dialog, unsigned templateId,
                       std::uint32_t titleId);
    // title: the page's name as it is (a protocol module's page takes the protocol's name).
    SessionOptionsPage(SessionOptionsDialogBase& dialog, unsigned templateId,
                       const YUnicodeString& title);

    SessionOptionsDialogBase& GetOwner() const { return owner_; }
    SessionConfig& GetSession() const;
    // Whether the dialog only shows the session (nothing is written back).
    bool IsReadOnly() const;

    // The form gives each field that can take the focus a number; a page that refuses OK names
    // the field the user is to correct (0: none).
    int GetFocusField() const { return focusField_; }

    // The form showing the page hears through refresh when what it shows changed behind it (the
    // protocol chosen on another page); it clears the hook when it goes.
    void SetFormRefresh(std::function<void()> refresh) { formRefresh_ = std::move(refresh); }
    // The dialog's refresh calls: the form shows the page for the session as it is now.
    void Refresh() override { RefreshForm(); }

protected:
    void RefreshForm() const {
        if (formRefresh_) {
            formRefresh_();
        }
    }
    // Shows report over the dialog's window and asks the form to focus field.
    void Refuse(YReportMessageParams& report, int field);
    // Asks the form to focus field (a refusal already shown).
    void FocusField(int field) { focusField_ = field; }

private:
    SessionOptionsDialogBase& owner_;
    int focusField_ = 0;
    std::function<void()> formRefresh_;
};

// ---- Connection

class SessionConnectPage : public SessionOptionsPage {
public:
    // Two protocol combo boxes when the host has both kinds of protocols, one otherwise.
    static constexpr unsigned kBothKindsTemplateId = 4310;
    static constexpr unsigned kOneKindTemplateId = 4319;
    enum Field { kNameField = 1, kTerminalField, kTransferField };

    SessionConnectPage(SessionOptionsDialogBase& dialog, bool newSession, bool skipNameValidation);

    // The fields the form exchanges.
    YUnicodeString name;
    YUnicodeString terminalProtocol;
    YUnicodeString transferProtocol;
    YUnicodeString preConnectCommand;
    YUnicodeString description;  // lines joined with LF

    // What the combo boxes offer: "None" first, then the table's protocols of each side.
    const std::vector<YUnicodeString>& GetTerminalChoices() const { return terminalChoices_; }
    const std::vector<YUnicodeString>& GetTransferChoices() const { return transferChoices_; }
    // The default-session editor keeps the name: the form shows it but does not offer to edit it.
    bool IsNameEditable() const { return !skipNameValidation_; }
    bool HasTerminalCombo() const;
    bool HasTransferCombo() const;
    // The transfer combo box is off while the terminal protocol carries no transfers.
    bool IsTransferComboEnabled() const;

    // A combo box's selection changed to name: false (with the report shown and the field back
    // at its previous protocol) when the protocol is not in the table.
    bool OnTerminalProtocolChanged(const YUnicodeString& name);
    bool OnTransferProtocolChanged(const YUnicodeString& name);

    // The rules of OK without showing anything: false with report and the field to focus.
    [[nodiscard]] bool Validate(YReportMessageParams& report, int& field) const;
    bool OnOK() override;

private:
    bool ChangeProtocol(bool terminalSide, const YUnicodeString& name);

    bool newSession_;
    bool skipNameValidation_;
    std::vector<YUnicodeString> terminalChoices_;
    std::vector<YUnicodeString> transferChoices_;
};

// ---- Logon Actions

class SessionLogonScriptsPage : public SessionOptionsPage {
public:
    static constexpr unsigned kTemplateId = 4416;
    enum Field { kListField = 1, kScriptFileField };

    explicit SessionLogonScriptsPage(SessionOptionsDialogBase& dialog);

    bool useLoginScript = false;
    bool sendInitialCarriageReturn = false;
    ExpectSendPairs pairs;
    bool useScriptFile = false;
    YUnicodeString scriptFilename;
    YUnicodeString scriptArguments;

    // The list's columns and a row's cells as the list shows them (a hidden send text as
    // asterisks, the Hide column as Yes or No).
    static std::vector<YUnicodeString> GetColumnTitles();
    static std::vector<YUnicodeString> GetRowCells(const ExpectSendPair& pair);

    // The list buttons; each returns the row selected afterwards (-1: none).
    int Add(const ExpectSendPair& pair, int selected);
    int Replace(int row, const ExpectSendPair& pair);
    int Delete(int row);
    int MoveUp(int row);
    int MoveDown(int row);

    // The browse button: the chosen script replaces the file name; false when cancelled.
    bool OnBrowseScript(QWidget* parent);

    // Whether the initial carriage return means something for the session's terminal protocol
    // as chosen now: a connection the protocol logs on starts at the shell's prompt, so only
    // logons carried in the terminal's text (a line, a modem, Telnet, RLogin) are offered it.
    // The form disables the box otherwise; the stored value is kept.
    bool IsInitialReturnApplicable() const;

    bool OnOK() override;
};

// "Expect/Send Properties": one row of the logon list.
class ExpectSendPropertiesDialog : public YDialog {
public:
    static constexpr unsigned kTemplateId = 4402;
    explicit ExpectSendPropertiesDialog(ExpectSendPair pair, QWidget* parent = nullptr);

    ExpectSendPair pair;
    static YUnicodeString GetTitle();
};

// ---- Log File

class SessionLogFilePage : public SessionOptionsPage {
public:
    static constexpr unsigned kTemplateId = 4393;
    enum Field { kFileNameField = 1 };

    explicit SessionLogFilePage(SessionOptionsDialogBase& dialog);

    YUnicodeString logFilename;
    bool logPrompt = false;
    bool startLogUponConnect = false;
    bool rawLog = false;
    bool appendToFile = false;  // "Log Mode": off overwrites
    bool newLogFileAtMidnight = false;
    bool timestampEachLine = false;
    std::uint32_t traceLevel = 0;
    YUnicodeString customConnect;
    YUnicodeString customDisconnect;
    YUnicodeString customEachLine;
    bool logOnlyCustom = false;

    // The substitutions a log file name may hold, one line each ("%H - hostname").
    static std::vector<YUnicodeString> GetSubstitutions();

    bool OnBrowseLogFile(QWidget* parent);
    [[nodiscard]] bool Validate(YReportMessageParams& report, int& field) const;
    bool OnOK() override;
};

// ---- The other pages: a list of typed fields drawn as a form

struct SessionPageField {
    enum class Kind {
        Check,       // a check box on a YProfile<bool>
        TriState,    // a check box whose third state defers to the application-wide setting
        Number,      // a spin box between minimum and maximum
        Choice,      // a combo box of numbers with their labels
        Text,        // a line edit
        TextChoice,  // a combo box of names
        Note,        // a line of explanation, no value
        Font,        // a button naming a fixed-pitch font (text: face, number: points)
        Color,       // a button showing a color (number: 0x00BBGGRR)
        Decimal,     // a spin box of a number with three decimals (number: thousandths)
    };
    Kind kind = Kind::Note;
    YUnicodeString label;  // with its mnemonic ("&Rows:")
    std::uint32_t minimum = 0;
    std::uint32_t maximum = 0;
    std::vector<std::pair<std::uint32_t, YUnicodeString>> choices;  // Choice
    std::vector<YUnicodeString> names;                              // TextChoice

    // The page's copy, which the form edits: checks and numbers in number (a tri-state 0, 1
    // or 2), texts in text.
    std::uint32_t number = 0;
    YUnicodeString text;

    // Take the value out of the session, and put the field's value back.
    std::function<void(SessionPageField&)> load;
    std::function<void(const SessionPageField&)> store;
    // Whether the value means something for the session's protocols as chosen now; the form
    // disables the field otherwise (it keeps its value). Empty: always.
    std::function<bool()> applies;
};

class SessionValuesPage : public SessionOptionsPage {
public:
    // The template of a protocol module's page of fields: the back end draws it as it draws
    // the dialog's own pages of fields.
    static constexpr unsigned kProtocolTemplateId = 4601;

    SessionValuesPage(SessionOptionsDialogBase& dialog, unsigned templateId, std::uint32_t titleId);
    SessionValuesPage(SessionOptionsDialogBase& dialog, unsigned templateId,
                      const YUnicodeString& title);

    std::vector<SessionPageField> fields;
    // Changes the page keeps outside the session (a keyword list), written once every page has
    // accepted OK: true when something was written, false with the reason in report when the
    // write failed. Empty when the page edits the session only.
    std::function<bool(bool& written, YReportMessageParams& report)> writeOutside;

    // Copies every field's value out of the session again.
    void Reload();
    bool OnOK() override;
};

// The fields of each such page, by template id (the page's own keys); false for a template
// that is not one of them.
bool FillSessionValuesPage(SessionValuesPage& page);

#pragma GCC visibility pop
