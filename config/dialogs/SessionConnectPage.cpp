#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionNameValidation.h>

#include <array>

namespace msg = rivode::msg;

namespace {

// Terminal protocols that leave no connection for a separate transfer protocol to share.
constexpr std::array<std::u16string_view, 4> kNoTransferTerminals = {u"TAPI", u"Serial",
                                                                     u"Local Shell", u"RDP"};

std::vector<YUnicodeString> Choices(SessionProtocolSlot::Side side) {
    std::vector<YUnicodeString> choices{YUnicodeString(kNoProtocolName)};
    const ConnectProtocolTable& table = GetConnectProtocolTable();
    for (std::size_t i = 0; i < table.GetCount(); ++i) {
        if (SessionProtocolSlot::Suits(side, table.GetEntry(i).product)) {
            choices.push_back(table.GetEntry(i).name);
        }
    }
    return choices;
}

bool IsNone(const YUnicodeString& name) {
    return rivode::EqualsNoCase(name, kNoProtocolName);
}

YUnicodeString Trimmed(const YUnicodeString& text) {
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == YUnicodeString::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

// The folder part of a session path, with its final separator ("Work\"; empty at the top).
YUnicodeString FolderOf(const YUnicodeString& path) {
    const std::size_t slash = path.rfind(u'\\');
    return slash == YUnicodeString::npos ? YUnicodeString() : path.substr(0, slash + 1);
}

}  // namespace

SessionOptionsPage::SessionOptionsPage(SessionOptionsDialogBase& dialog, unsigned templateId,
                                       std::uint32_t titleId)
    : YPropertyTreePage(templateId, LoadMessageString(titleId)), owner_(dialog) {}

SessionOptionsPage::SessionOptionsPage(SessionOptionsDialogBase& dialog, unsigned templateId,
                                       const YUnicodeString& title)
    : YPropertyTreePage(templateId, title), owner_(dialog) {}

SessionConfig& SessionOptionsPage::GetSession() const {
    return owner_.GetSessionConfig();
}

bool SessionOptionsPage::IsReadOnly() const {
    return owner_.IsReadOnly();
}

void SessionOptionsPage::Refuse(YReportMessageParams& report, int field) {
    focusField_ = field;
    QWidget* window = owner_.GetWindow() != nullptr ? owner_.GetWindow() : owner_.GetParent();
    YMessageBox(window, report);
}

SessionConnectPage::SessionConnectPage(SessionOptionsDialogBase& dialog, bool newSession,
                                       bool skipNameValidation)
    : SessionOptionsPage(dialog,
                         dialog.HasTerminalProtocols() && dialog.HasTransferProtocols()
                             ? kBothKindsTemplateId
                             : kOneKindTemplateId,
                         msg::SessionPageConnection),
      newSession_(newSession),
      skipNameValidation_(skipNameValidation),
      terminalChoices_(Choices(SessionProtocolSlot::Side::Terminal)),
      transferChoices_(Choices(SessionProtocolSlot::Side::Transfer)) {
    const SessionConfig& session = GetSession();
    name = session.GetName();
    terminalProtocol = session.GetProtocolName();
    transferProtocol = session.GetTransferProtocolName();
    if (terminalProtocol.empty()) {
        terminalProtocol = kNoProtocolName;
    }
    if (transferProtocol.empty()) {
        transferProtocol = kNoProtocolName;
    }
    preConnectCommand =
        GetProfileEncryptedPlaintextString(session.remoteHostConfig.localShellCommandPreConnect);
    description = session.description.GetText();
}

bool SessionConnectPage::HasTerminalCombo() const {
    return GetOwner().HasTerminalProtocols();
}

bool SessionConnectPage::HasTransferCombo() const {
    return GetOwner().HasTransferProtocols();
}

bool SessionConnectPage::IsTransferComboEnabled() const {
    if (!HasTerminalCombo() || !HasTransferCombo()) {
        return true;
    }
    for (std::u16string_view name : kNoTransferTerminals) {
        if (rivode::EqualsNoCase(terminalProtocol, name)) {
            return false;
        }
    }
    return true;
}

bool SessionConnectPage::OnTerminalProtocolChanged(const YUnicodeString& name) {
    return ChangeProtocol(true, name);
}

bool SessionConnectPage::OnTransferProtocolChanged(const YUnicodeString& name) {
    return ChangeProtocol(false, name);
}

bool SessionConnectPage::ChangeProtocol(bool terminalSide, const YUnicodeString& name) {
    YUnicodeString& current = terminalSide ? terminalProtocol : transferProtocol;
    if (rivode::EqualsNoCase(current, name)) {
        return true;
    }
    const int newIndex = SessionOptionsDialogBase::FindProtocolIndex(name);
    if (newIndex < 0 && !IsNone(name)) {
        YReportMessageParams report(msg::ProtocolNotAvailable);
        report.AddString(name);
        Refuse(report, terminalSide ? kTerminalField : kTransferField);
        return false;
    }
    const int oldIndex = SessionOptionsDialogBase::FindProtocolIndex(current);
    const int otherIndex = SessionOptionsDialogBase::FindProtocolIndex(
        terminalSide ? transferProtocol : terminalProtocol);
    current = name;
    GetOwner().KeepOpenedSession();
    SessionConfig& session = GetSession();
    if (terminalSide) {
        session.SetProtocolName(name);
    } else {
        session.SetTransferProtocolName(name);
    }
    SessionOptionsDialogBase& dialog = GetOwner();
    dialog.UpdateSessionProtocolPages(oldIndex, newIndex, otherIndex);
    if (terminalSide) {
        dialog.ShowHideTerminalPages(IsSessionTerminalProtocol(name));
    } else {
        dialog.ShowHideFileTransferPages(!IsNone(name));
    }
    SetModified();
    return true;
}

bool SessionConnectPage::Validate(YReportMessageParams& report, int& field) const {
    const bool both = HasTerminalCombo() && HasTransferCombo();
    const auto offered = [&](const YUnicodeString& protocol) {
        return SessionOptionsDialogBase::FindProtocolIndex(protocol) >= 0 ||
               (both && IsNone(protocol));
    };
    if (HasTerminalCombo() && !offered(terminalProtocol)) {
        report = YReportMessageParams(msg::ProtocolNotAvailable);
        report.AddString(terminalProtocol);
        field = kTerminalField;
        return false;
    }
    if (HasTransferCombo() && !offered(transferProtocol)) {
        report = YReportMessageParams(msg::ProtocolNotAvailable);
        report.AddString(transferProtocol);
        field = kTransferField;
        return false;
    }
    if (both && IsNone(terminalProtocol) && IsNone(transferProtocol)) {
        report = YReportMessageParams(msg::BothProtocolsNone);
        field = kTerminalField;
        return false;
    }
    return true;
}

bool SessionConnectPage::OnOK() {
    if (IsReadOnly()) {
        return true;
    }
    SessionConfig& session = GetSession();
    name = Trimmed(name);
    if (!skipNameValidation_) {
        const YUnicodeString path = newSession_ ? FolderOf(session.GetPath()) : session.GetPath();
        QWidget* window = GetOwner().GetWindow();
        if (!ValidateSessionName(path, session.GetName(), name, newSession_, window)) {
            FocusField(kNameField);  // the validation has shown why
            return false;
        }
        YReportMessageParams report;
        int field = 0;
        if (!Validate(report, field)) {
            Refuse(report, field);
            return false;
        }
    }
    if (!skipNameValidation_ && name != session.GetName()) {
        session.SetPath(FolderOf(session.GetPath()) + name);
    }
    YProfileEncryptedString& preConnect = session.remoteHostConfig.localShellCommandPreConnect;
    if (GetProfileEncryptedPlaintextString(preConnect) != preConnectCommand) {
        // While sensitive data is off the command cannot be enciphered and keeps its stored
        // value, as every sensitive value does then.
        (void)UpdateProfileEncryptedString(preConnect, preConnectCommand);
    }
    if (session.description.GetText() != description) {
        session.description.SetText(description);
    }
    return true;
}
