// The Session Options dialog: one session (or the default session, or several at once) edited
// page by page in a property tree. SessionOptionsDialogBase holds the tree and its rules (which
// pages show for which protocols, products and modes; opening; OK); SessionOptionsDialog binds
// it to its window in the Qt user interface, where ShowSessionOptionsDialog also lives.
//
// The dialog edits the record it is given and never saves it: the caller saves on YID_OK.
// User-interface thread only.
#pragma once

#include <RivodeRavudaVU/ProtocolPages.h>
#include <RivodeRavudaVU/SessionOptionsPages.h>

#include <memory>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

class GlobalConfig;
class ISessionConfig;
class SessionMappedKeysPage;

// Dialog modes; any other value edits one session.
inline constexpr int kSessionOptionsModeReadOnly = 2;  // a session a locked session uses
inline constexpr int kSessionOptionsModeMultiple = 4;  // several sessions at once
// (3, the default session, is kSessionOptionsModeDefaultSession of EditDefaultSession.h.)

// The terminal protocols whose sessions have logon actions and a terminal.
bool IsSessionTerminalProtocol(std::u16string_view name);

class SessionOptionsDialogBase : public YPropertyTreeDialog {
public:
    // The arguments of ShowSessionOptionsDialog. session must be a SessionConfig; global may
    // be null (no application-wide options apply then). keywordListsChanged must outlive the
    // dialog.
    SessionOptionsDialogBase(GlobalConfig* global, ISessionConfig* session, int mode,
                             bool newSession, bool skipNameValidation, int emulationValue,
                             bool modesValue, int appearanceValue, bool printingValue,
                             bool& keywordListsChanged, int product, QWidget* parent);
    ~SessionOptionsDialogBase() override;

    // "Session Options - name", "(Read Only)" added in mode 2; "Session Options - multiple"
    // in mode 4.
    static YUnicodeString MakeTitle(const ISessionConfig& session, int mode);

    // The pages' memory of the last page shown, shared by every Session Options dialog.
    static YPropertyPageStateMap m_pageStateMap;

    // Opening: shows and hides the pages for the session's protocols, disables OK when
    // read-only and hands the dialog's window to the protocol configurations.
    bool OnInitDialog() override;
    // Every shown page validates and stores; then the keyword pages' list changes.
    void OnOK() override;
    // Cancel: a protocol changed on the Connection page goes back, with its values, as the
    // session was when the dialog opened.
    void OnCancel() override;
    // Called before a page changes the session while the dialog runs (a protocol chosen), so
    // that Cancel can restore it.
    void KeepOpenedSession();

    // The protocol-table entry's page set shown (made on first need).
    void ShowSessionProtocolPages(int index);
    // The protocol of one side changed from oldIndex to newIndex (-1: none); otherIndex is the
    // other side's protocol.
    void UpdateSessionProtocolPages(int oldIndex, int newIndex, int otherIndex);
    void ShowHideTerminalPages(bool show);
    void ShowHideFileTransferPages(bool show);
    // The optional read-only message box, over parent.
    void ShowReadOnlyPrompt(QWidget* parent);
    // Whether opening asked for the read-only prompt once the window shows (mode 2 and not
    // suppressed); the window back end posts it.
    bool IsReadOnlyPromptPending() const { return readOnlyPromptPending_; }
    int GetProductID() const { return product_; }
    int GetMode() const { return mode_; }
    // The largest scrollback the Emulation page offers (the application-wide limit); 0: none.
    int GetScrollbackLimit() const { return scrollbackLimit_; }
    bool IsReadOnly() const;

    SessionConfig& GetSessionConfig() const { return *session_; }
    GlobalConfig* GetGlobalConfig() const { return global_; }
    // Whether the loaded protocol modules offer terminal / transfer protocols.
    bool HasTerminalProtocols() const { return hasTerminalProtocols_; }
    bool HasTransferProtocols() const { return hasTransferProtocols_; }
    // The protocol table's index of a protocol name; -1 when not in it.
    static int FindProtocolIndex(const YUnicodeString& name);
    // Whether a protocol-table entry's page set has been made.
    bool HasProtocolPages(int index) const;

    // A page by its name or its path of names ("Terminal\Emulation\Advanced"), letter case
    // ignored; a name shared by several pages must be given as a path. nullptr when none.
    YPropertyTreePage* FindPage(const YUnicodeString& nameOrPath) const;

    // The emulation as chosen now on the Emulation page (the session's own without that page).
    YUnicodeString GetChosenEmulation() const;

    SessionConnectPage& GetConnectPage() { return connectPage_; }
    SessionLogonScriptsPage& GetLogonScriptsPage() { return logonScriptsPage_; }
    SessionLogFilePage& GetLogFilePage() { return logFilePage_; }

private:
    void ShowProtocolPagesForPair(int terminalIndex, int transferIndex);
    void HideSessionProtocolPages(int index);
    void RefreshSessionFtpSftpPage();
    void UpdateSessionLogonScriptsPage();

    GlobalConfig* global_;
    SessionConfig* session_;
    int mode_;
    int product_;
    int scrollbackLimit_;
    bool& keywordListsChanged_;
    bool hasTerminalProtocols_ = false;
    bool hasTransferProtocols_ = false;
    bool readOnlyPromptPending_ = false;
    std::vector<std::unique_ptr<IProtocolPages>> protocolPages_;
    YRefPtr<ISessionConfig> opened_;  // the session as opened, once a page changed it

    SessionConnectPage connectPage_;
    SessionLogonScriptsPage logonScriptsPage_;
    SessionLogFilePage logFilePage_;
    std::unique_ptr<SessionMappedKeysPage> mappedKeysPage_;  // with the terminal pages
    // The pages drawn from their fields, in tree order, with the parent each goes below.
    std::vector<std::unique_ptr<SessionValuesPage>> valuesPages_;
    SessionValuesPage* terminalPage_ = nullptr;
    SessionValuesPage* ansiColorPage_ = nullptr;
    SessionValuesPage* fileTransferPage_ = nullptr;
    SessionValuesPage* ftpSftpPage_ = nullptr;
    SessionValuesPage* fileTransferAdvancedPage_ = nullptr;
};

// The dialog on its window: tells the framework whether the session is new, and posts the
// read-only prompt once the window shows.
class SessionOptionsDialog : public SessionOptionsDialogBase {
public:
    SessionOptionsDialog(GlobalConfig* global, ISessionConfig* session, int mode, bool newSession,
                         bool skipNameValidation, int emulationValue, bool modesValue,
                         int appearanceValue, bool printingValue, bool& keywordListsChanged,
                         int product, QWidget* parent);
    bool OnInitDialog() override;
    // A refused OK also puts the focus on the field the refusing page named.
    void OnOK() override;
};

// Runs the dialog modally; YID_OK when the user confirmed (the session then holds the edits).
int ShowSessionOptionsDialog(GlobalConfig* global, ISessionConfig* session, int mode,
                             bool newSession, bool skipNameValidation, int emulationValue,
                             bool modesValue, int appearanceValue, bool printingValue,
                             bool& keywordListsChanged, int product, QWidget* parent);

// Makes the Session Options pages' forms known to the Qt half and the dialog known to the
// default-session editor (EditDefaultSession). A Qt host calls it once after
// YSetUserInterface.
void RegisterSessionOptionsForms();

#pragma GCC visibility pop
