#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <DavaraZE/YChoosers.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace msg = rivode::msg;

namespace {

// What most hosts ask while logging on; a session without a script starts from these.
ExpectSendPairs ProposedPairs() {
    return {{u"ogin:", u"", false}, {u"assword:", u"", false}};
}

// Protocols whose connection is logged on by the protocol itself (or needs no logon): the
// terminal starts at a shell's prompt, where a carriage return only repeats the prompt.
constexpr std::array<std::u16string_view, 3> kPromptFirstProtocols = {u"SSH2", u"SSH1",
                                                                      u"Local Shell"};

}  // namespace

SessionLogonScriptsPage::SessionLogonScriptsPage(SessionOptionsDialogBase& dialog)
    : SessionOptionsPage(dialog, kTemplateId, msg::SessionPageLogonActions) {
    const SessionConfig& session = GetSession();
    useLoginScript = session.useLoginScript;
    sendInitialCarriageReturn = session.sendInitialCarriageReturn;
    pairs = session.loginScript.GetPairs();
    if (pairs.empty()) {
        pairs = ProposedPairs();
    }
    useScriptFile = session.useScriptFile;
    scriptFilename = session.scriptFilename.Get();
    scriptArguments = session.scriptArguments.Get();
}

std::vector<YUnicodeString> SessionLogonScriptsPage::GetColumnTitles() {
    return {LoadMessageString(msg::ExpectColumn), LoadMessageString(msg::SendColumn),
            LoadMessageString(msg::HideColumn)};
}

std::vector<YUnicodeString> SessionLogonScriptsPage::GetRowCells(const ExpectSendPair& pair) {
    return {pair.expect, pair.hide ? YUnicodeString(u"********") : pair.send,
            LoadMessageString(pair.hide ? msg::YesText : msg::NoText)};
}

int SessionLogonScriptsPage::Add(const ExpectSendPair& pair, int selected) {
    // A new row goes below the selected one, so a script is written in the order it runs.
    const std::size_t at = selected >= 0 && static_cast<std::size_t>(selected) < pairs.size()
                               ? static_cast<std::size_t>(selected) + 1
                               : pairs.size();
    pairs.insert(pairs.begin() + static_cast<std::ptrdiff_t>(at), pair);
    SetModified();
    return static_cast<int>(at);
}

int SessionLogonScriptsPage::Replace(int row, const ExpectSendPair& pair) {
    if (row < 0 || static_cast<std::size_t>(row) >= pairs.size()) {
        return -1;
    }
    pairs[static_cast<std::size_t>(row)] = pair;
    SetModified();
    return row;
}

int SessionLogonScriptsPage::Delete(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= pairs.size()) {
        return -1;
    }
    pairs.erase(pairs.begin() + row);
    SetModified();
    if (pairs.empty()) {
        return -1;
    }
    return std::min(row, static_cast<int>(pairs.size()) - 1);
}

int SessionLogonScriptsPage::MoveUp(int row) {
    if (row <= 0 || static_cast<std::size_t>(row) >= pairs.size()) {
        return row;
    }
    std::swap(pairs[static_cast<std::size_t>(row)], pairs[static_cast<std::size_t>(row) - 1]);
    SetModified();
    return row - 1;
}

int SessionLogonScriptsPage::MoveDown(int row) {
    if (row < 0 || static_cast<std::size_t>(row) + 1 >= pairs.size()) {
        return row;
    }
    std::swap(pairs[static_cast<std::size_t>(row)], pairs[static_cast<std::size_t>(row) + 1]);
    SetModified();
    return row + 1;
}

bool SessionLogonScriptsPage::OnBrowseScript(QWidget* parent) {
    YFileFilterList filters;
    YAppendFileFilter(filters, LoadMessageString(msg::ScriptFilesFilter),
                      u"*.vbs; *.vbe; *.js; *.pl; *.py");
    YAppendAllFilesFilter(filters);
    const std::size_t slash = scriptFilename.find_last_of(u"/\\");
    YFileDialog chooser(
        true, LoadMessageString(msg::SelectScriptFileTitle), filters,
        slash == YUnicodeString::npos ? YUnicodeString() : scriptFilename.substr(0, slash), parent);
    chooser.Request().initialName = u"login.vbs";
    if (chooser.DoModal() != YID_OK) {
        return false;
    }
    scriptFilename = chooser.GetPathName();
    SetModified();
    return true;
}

bool SessionLogonScriptsPage::IsInitialReturnApplicable() const {
    const YUnicodeString protocol = GetSession().GetProtocolName();
    return std::none_of(
        kPromptFirstProtocols.begin(), kPromptFirstProtocols.end(),
        [&](std::u16string_view name) { return rivode::EqualsNoCase(name, protocol); });
}

bool SessionLogonScriptsPage::OnOK() {
    if (IsReadOnly()) {
        return true;
    }
    SessionConfig& session = GetSession();
    session.useLoginScript = useLoginScript;
    session.sendInitialCarriageReturn = sendInitialCarriageReturn;
    session.useScriptFile = useScriptFile;
    session.scriptFilename.Set(scriptFilename);
    session.scriptArguments.Set(scriptArguments);
    const ExpectSendPairs stored = session.loginScript.GetPairs();
    // The proposed rows alone are not worth storing: a session that never had a script keeps
    // none, so opening and confirming the dialog changes nothing.
    const bool onlyProposed = stored.empty() && pairs == ProposedPairs();
    if (pairs != stored && !onlyProposed) {
        // While sensitive data is off the list cannot be enciphered and keeps its stored value.
        (void)session.loginScript.SetPairs(pairs);
    }
    return true;
}

ExpectSendPropertiesDialog::ExpectSendPropertiesDialog(ExpectSendPair pair, QWidget* parent)
    : YDialog(kTemplateId, nullptr, parent), pair(std::move(pair)) {}

YUnicodeString ExpectSendPropertiesDialog::GetTitle() {
    return LoadMessageString(msg::ExpectSendTitle);
}
