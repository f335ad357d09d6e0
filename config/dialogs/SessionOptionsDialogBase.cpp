#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <DavaraZE/YConfigFolder.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/KeyMappingEditor.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <span>

namespace msg = rivode::msg;

namespace {

constexpr std::array<std::u16string_view, 9> kTerminalProtocols = {
    u"SSH2",   u"SSH1",        u"Telnet", u"Telnet/SSL", u"RLogin",
    u"Serial", u"Local Shell", u"TAPI",   u"Marks"};
// Terminal protocols that either carry their own file transfer (SSH2) or have no network
// connection a transfer protocol could share: a session of them needs no separate transfer
// pages for SFTP or SCP.
constexpr std::array<std::u16string_view, 5> kOwnTransferTerminals = {u"SSH2", u"TAPI", u"Serial",
                                                                      u"Local Shell", u"RDP"};

bool IsOneOf(std::u16string_view name, std::span<const std::u16string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](std::u16string_view n) { return rivode::EqualsNoCase(n, name); });
}

YUnicodeString EntryName(int index) {
    if (index < 0) {
        return {};
    }
    return GetConnectProtocolTable().GetEntry(static_cast<std::size_t>(index)).name;
}

bool IsTransferEntry(int index) {
    return index >= 0 &&
           SessionProtocolSlot::Suits(
               SessionProtocolSlot::Side::Transfer,
               GetConnectProtocolTable().GetEntry(static_cast<std::size_t>(index)).product);
}

bool TableOffers(SessionProtocolSlot::Side side) {
    const ConnectProtocolTable& table = GetConnectProtocolTable();
    for (std::size_t i = 0; i < table.GetCount(); ++i) {
        if (SessionProtocolSlot::Suits(side, table.GetEntry(i).product)) {
            return true;
        }
    }
    return false;
}

// The pages drawn from their fields: template, title, and the template of the page they go
// below (0: a root page).
struct ValuesPageRow {
    unsigned templateId;
    std::uint32_t titleId;
    unsigned parentTemplateId;
    bool transferSide;
};
constexpr unsigned kTerminalTemplate = 4453;
constexpr unsigned kAnsiColorTemplate = 11477;
constexpr unsigned kFileTransferTemplate = 4375;
constexpr unsigned kFtpSftpTemplate = 4381;
constexpr unsigned kTransferAdvancedTemplate = 11478;
constexpr unsigned kLogFileSlot = 1;     // where the Log File page goes among its siblings
constexpr unsigned kMappedKeysSlot = 2;  // and the Mapped Keys page
constexpr std::array<ValuesPageRow, 17> kValuesPages = {{
    {kTerminalTemplate, msg::SessionPageTerminal, 0, false},
    {4365, msg::SessionPageEmulation, kTerminalTemplate, false},
    {4343, msg::SessionPageModes, 4365, false},
    {4321, msg::SessionPageEmacs, 4365, false},
    {kMappedKeysSlot, 0, 4365, false},
    {4329, msg::SessionPageAdvanced, 4365, false},
    {4301, msg::SessionPageAppearance, kTerminalTemplate, false},
    {kAnsiColorTemplate, msg::SessionPageAnsiColor, 4301, false},
    {4473, msg::SessionPageWindow, 4301, false},
    {5057, msg::SessionPageKeywordHighlighting, kTerminalTemplate, false},
    {5060, msg::SessionPageAdvanced, 5057, false},
    {kLogFileSlot, 0, kTerminalTemplate, false},
    {4448, msg::SessionPagePrinting, kTerminalTemplate, false},
    {4482, msg::SessionPageXYZmodem, kTerminalTemplate, false},
    {kFileTransferTemplate, msg::SessionPageFileTransfer, 0, true},
    {kFtpSftpTemplate, msg::SessionPageFtpSftp, kFileTransferTemplate, true},
    {kTransferAdvancedTemplate, msg::SessionPageAdvanced, kFileTransferTemplate, true},
}};

}  // namespace

bool IsSessionTerminalProtocol(std::u16string_view name) {
    return IsOneOf(name, kTerminalProtocols);
}

YPropertyPageStateMap SessionOptionsDialogBase::m_pageStateMap;

SessionOptionsDialogBase::SessionOptionsDialogBase(
    GlobalConfig* global, ISessionConfig* session, int mode, bool newSession,
    bool skipNameValidation, int emulationValue, bool /*modesValue*/, int /*appearanceValue*/,
    bool /*printingValue*/, bool& keywordListsChanged, int product, QWidget* parent)
    : YPropertyTreeDialog(MakeTitle(*session, mode), 0, &m_pageStateMap, parent),
      global_(global),
      session_(static_cast<SessionConfig*>(session)),
      mode_(mode),
      product_(product),
      scrollbackLimit_(emulationValue),
      keywordListsChanged_(keywordListsChanged),
      hasTerminalProtocols_(TableOffers(SessionProtocolSlot::Side::Terminal)),
      hasTransferProtocols_(TableOffers(SessionProtocolSlot::Side::Transfer)),
      protocolPages_(GetConnectProtocolTable().GetCount()),
      connectPage_(*this, newSession, skipNameValidation),
      logonScriptsPage_(*this),
      logFilePage_(*this) {
    EnableDynamicLayout(u"Session Options");
    AddPage(&connectPage_);
    connectPage_.AddPage(&logonScriptsPage_);
    std::map<unsigned, YPropertyTreePage*> byTemplate;
    for (const ValuesPageRow& row : kValuesPages) {
        if (row.transferSide ? !hasTransferProtocols_ : !hasTerminalProtocols_) {
            continue;
        }
        YPropertyTreePage* page = &logFilePage_;
        if (row.templateId == kMappedKeysSlot) {
            mappedKeysPage_ = std::make_unique<SessionMappedKeysPage>(*this);
            page = mappedKeysPage_.get();
        } else if (row.templateId != kLogFileSlot) {
            auto values = std::make_unique<SessionValuesPage>(*this, row.templateId, row.titleId);
            FillSessionValuesPage(*values);
            page = values.get();
            byTemplate[row.templateId] = page;
            valuesPages_.push_back(std::move(values));
        }
        if (row.parentTemplateId == 0) {
            AddPage(page);
        } else {
            byTemplate.at(row.parentTemplateId)->AddPage(page);
        }
    }
    const auto find = [&](unsigned id) {
        const auto found = byTemplate.find(id);
        return found != byTemplate.end() ? static_cast<SessionValuesPage*>(found->second) : nullptr;
    };
    terminalPage_ = find(kTerminalTemplate);
    ansiColorPage_ = find(kAnsiColorTemplate);
    fileTransferPage_ = find(kFileTransferTemplate);
    ftpSftpPage_ = find(kFtpSftpTemplate);
    fileTransferAdvancedPage_ = find(kTransferAdvancedTemplate);
    if (ansiColorPage_ != nullptr && (global_ == nullptr || global_->hideSessionAnsiColorPage)) {
        HidePage(ansiColorPage_);
    }
}

SessionOptionsDialogBase::~SessionOptionsDialogBase() = default;

YUnicodeString SessionOptionsDialogBase::MakeTitle(const ISessionConfig& session, int mode) {
    if (mode == kSessionOptionsModeMultiple) {
        return LoadMessageString(msg::SessionOptionsMultipleTitle);
    }
    YReportMessageParams title(msg::SessionOptionsTitle);
    title.AddString(session.GetName());
    title.AddString(mode == kSessionOptionsModeReadOnly ? LoadMessageString(msg::ReadOnlySuffix)
                                                        : YUnicodeString());
    // Without the suffix the text ends in the blank that would have led to it.
    YUnicodeString text = title.GetSingleLineTextTrimmed();
    while (!text.empty() && text.back() == u' ') {
        text.pop_back();
    }
    return text;
}

bool SessionOptionsDialogBase::IsReadOnly() const {
    return YIsReadOnly(mode_);
}

int SessionOptionsDialogBase::FindProtocolIndex(const YUnicodeString& name) {
    const ConnectProtocolTable& table = GetConnectProtocolTable();
    for (std::size_t i = 0; i < table.GetCount(); ++i) {
        if (rivode::EqualsNoCase(table.GetEntry(i).name, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool SessionOptionsDialogBase::HasProtocolPages(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < protocolPages_.size() &&
           protocolPages_[static_cast<std::size_t>(index)] != nullptr;
}

bool SessionOptionsDialogBase::OnInitDialog() {
    const int terminal = FindProtocolIndex(session_->GetProtocolName());
    const int transfer = FindProtocolIndex(session_->GetTransferProtocolName());
    ShowHideTerminalPages(terminal >= 0 && IsSessionTerminalProtocol(EntryName(terminal)));
    ShowHideFileTransferPages(transfer >= 0);
    ShowProtocolPagesForPair(terminal, transfer);
    if (mode_ == kSessionOptionsModeReadOnly) {
        DisableOkButton();
        readOnlyPromptPending_ =
            global_ == nullptr || !global_->suppressReadOnlySessionOptionsWarning;
    }
    SetConnectConfigParentWindow(session_, GetWindow());
    for (const std::unique_ptr<IProtocolPages>& pages : protocolPages_) {
        if (pages) {
            pages->SetParentWindow(GetWindow());
        }
    }
    return true;
}

void SessionOptionsDialogBase::OnOK() {
    if (IsOkButtonDisabled() || !DoOnOK()) {
        return;
    }
    // The keyword list's match style lives in the application's list, not in the session: it is
    // written now that every page accepted, and the caller learns that a list changed.
    for (const std::unique_ptr<SessionValuesPage>& page : valuesPages_) {
        bool written = false;
        YReportMessageParams report;
        if (page->writeOutside && !IsReadOnly() && !page->writeOutside(written, report)) {
            YMessageBox(GetWindow() != nullptr ? GetWindow() : GetParent(), report);
            return;
        }
        keywordListsChanged_ = keywordListsChanged_ || written;
    }
    EndDialog(YID_OK);
}

void SessionOptionsDialogBase::OnCancel() {
    if (opened_) {
        session_->Assign(*opened_);
    }
    YPropertyTreeDialog::OnCancel();
}

void SessionOptionsDialogBase::KeepOpenedSession() {
    if (!opened_) {
        opened_ = session_->Clone();
    }
}

void SessionOptionsDialogBase::ShowSessionProtocolPages(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= protocolPages_.size()) {
        return;
    }
    std::unique_ptr<IProtocolPages>& slot = protocolPages_[static_cast<std::size_t>(index)];
    if (!slot) {
        const ConnectProtocolEntry& entry =
            GetConnectProtocolTable().GetEntry(static_cast<std::size_t>(index));
        if (entry.functions.createPages != nullptr) {
            slot.reset(entry.functions.createPages(entry, *this, mode_, *session_, product_,
                                                   connectPage_));
            if (slot) {
                // The protocol's pages come first below the Connection page, before the logon
                // actions that follow the connection they belong to.
                const bool logonHidden = logonScriptsPage_.IsHidden();
                RemovePage(&logonScriptsPage_);
                connectPage_.AddPage(&logonScriptsPage_);
                if (logonHidden) {
                    HidePage(&logonScriptsPage_);
                }
                slot->SetParentWindow(GetWindow());
            }
        }
    }
    if (slot) {
        slot->Show(*this, *session_);
    }
}

void SessionOptionsDialogBase::HideSessionProtocolPages(int index) {
    if (HasProtocolPages(index)) {
        protocolPages_[static_cast<std::size_t>(index)]->Hide(*this);
    }
}

void SessionOptionsDialogBase::ShowProtocolPagesForPair(int terminalIndex, int transferIndex) {
    if (terminalIndex < 0 || transferIndex < 0) {
        ShowSessionProtocolPages(terminalIndex >= 0 ? terminalIndex : transferIndex);
        return;
    }
    ShowSessionProtocolPages(terminalIndex);
    const bool transferCarried =
        IsOneOf(EntryName(transferIndex), std::array<std::u16string_view, 2>{u"SFTP", u"SCP"}) &&
        IsOneOf(EntryName(terminalIndex), kOwnTransferTerminals);
    if (transferCarried) {
        HideSessionProtocolPages(transferIndex);
    } else {
        ShowSessionProtocolPages(transferIndex);
    }
}

void SessionOptionsDialogBase::UpdateSessionProtocolPages(int oldIndex, int newIndex,
                                                          int otherIndex) {
    HideSessionProtocolPages(oldIndex);
    SetClearSelected(true);
    // Which side changed decides the pair; the other side's pages follow the rule too, so SFTP
    // pages shown beside Telnet go when the terminal protocol becomes SSH2.
    const bool transferSide = newIndex >= 0 ? IsTransferEntry(newIndex) : IsTransferEntry(oldIndex);
    if (transferSide) {
        ShowProtocolPagesForPair(otherIndex, newIndex);
    } else {
        ShowProtocolPagesForPair(newIndex, otherIndex);
    }
    SetClearSelected(false);
    UpdateSessionLogonScriptsPage();
    if (hasTransferProtocols_) {
        RefreshSessionFtpSftpPage();
    }
}

void SessionOptionsDialogBase::ShowHideTerminalPages(bool show) {
    for (YPropertyTreePage* page : {static_cast<YPropertyTreePage*>(&logonScriptsPage_),
                                    static_cast<YPropertyTreePage*>(terminalPage_)}) {
        if (page == nullptr) {
            continue;
        }
        if (show) {
            ShowPage(page);
        } else {
            HidePage(page);
        }
    }
}

void SessionOptionsDialogBase::ShowHideFileTransferPages(bool show) {
    if (fileTransferPage_ == nullptr) {
        return;
    }
    if (show) {
        ShowPage(fileTransferPage_);
    } else {
        HidePage(fileTransferPage_);
    }
}

void SessionOptionsDialogBase::ShowReadOnlyPrompt(QWidget* parent) {
    readOnlyPromptPending_ = false;
    bool suppressed = global_ != nullptr && global_->suppressReadOnlySessionOptionsWarning;
    (void)YOptionalMessageBox(parent, LoadMessageString(msg::SessionOptionsLocked), YMB_OK,
                              LoadMessageString(msg::DoNotDisplayAgain), suppressed);
    if (suppressed && global_ != nullptr && !global_->suppressReadOnlySessionOptionsWarning) {
        global_->suppressReadOnlySessionOptionsWarning = true;
        YReportMessageParams report;
        if (!SaveGlobalConfig(report)) {
            YMessageBox(parent, report);
        }
    }
}

void SessionOptionsDialogBase::RefreshSessionFtpSftpPage() {
    if (ftpSftpPage_ != nullptr) {
        ftpSftpPage_->Refresh();
    }
}

void SessionOptionsDialogBase::UpdateSessionLogonScriptsPage() {
    logonScriptsPage_.Refresh();
}

YPropertyTreePage* SessionOptionsDialogBase::FindPage(const YUnicodeString& nameOrPath) const {
    std::vector<YPropertyTreePage*> all;
    const std::function<void(const std::vector<YPropertyTreePage*>&)> collect =
        [&](const std::vector<YPropertyTreePage*>& pages) {
            for (YPropertyTreePage* page : pages) {
                all.push_back(page);
                collect(page->GetChildren());
            }
        };
    collect(GetRootPages());
    for (YPropertyTreePage* page : all) {
        if (rivode::EqualsNoCase(page->GetPath(), nameOrPath)) {
            return page;
        }
    }
    YPropertyTreePage* named = nullptr;
    for (YPropertyTreePage* page : all) {
        if (rivode::EqualsNoCase(page->GetName(), nameOrPath)) {
            if (named != nullptr) {
                return nullptr;  // ambiguous: the caller must give the path
            }
            named = page;
        }
    }
    return named;
}
