#include <RivodeRavudaVU/KeyMappingEditor.h>

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/KeyCodes.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>

namespace msg = rivode::msg;

namespace {

constexpr std::uint32_t kVirtualKeyMask = 0xFF;

ProfileKeymap& SessionKeymap(const SessionOptionsPage& page) {
    return page.GetSession().terminalConfig.keymap;
}

}  // namespace

SessionMappedKeysPage::SessionMappedKeysPage(SessionOptionsDialogBase& dialog)
    : SessionOptionsPage(dialog, kTemplateId, msg::SessionPageMappedKeys) {
    const TerminalConfig& terminal = GetSession().terminalConfig;
    mapBackspace = terminal.mapBackspace;
    mapDelete = terminal.mapDelete;
    cuaCopyPaste = terminal.cuaCopyPaste;
    for (const KeyMapEntry& entry : terminal.keymap.GetSortedEntries()) {
        if (entry.functionCode != kFunctionNone) {
            rows.push_back(MakeRow(entry.key));
        }
    }
}

std::vector<YUnicodeString> SessionMappedKeysPage::GetColumnTitles() {
    return {LoadMessageString(msg::KeyCombinationColumn), LoadMessageString(msg::FunctionColumn),
            LoadMessageString(msg::ArgumentColumn)};
}

bool SessionMappedKeysPage::AreBackspaceDeleteOptionsEnabled() const {
    return !rivode::EqualsNoCase(GetOwner().GetChosenEmulation(), u"TN3270");
}

bool SessionMappedKeysPage::OnSetActive() {
    RefreshForm();
    return true;
}

SessionMappedKeysPage::Row SessionMappedKeysPage::MakeRow(std::uint32_t key) const {
    const ProfileKeymap& keymap = SessionKeymap(*this);
    const std::uint32_t code = keymap.GetFunctionCode(key);
    Row row;
    row.key = key;
    row.combination = KeyModifiersToString(key) + KeyCodeToName(key & kVirtualKeyMask);
    row.function = FunctionCodeToName(code);
    row.argument = code == kFunctionSend
                       ? SelectedKeyDialogBase::SendStringForDisplay(keymap.GetValue(key))
                       : keymap.GetValue(key);
    return row;
}

int SessionMappedKeysPage::FindRow(const YUnicodeString& combination) const {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].combination == combination) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool SessionMappedKeysPage::EditMapping(KeyboardButton& button, std::uint32_t key,
                                        QWidget* parent) {
    // The mappings change in the session as the user makes them; the dialog's Cancel puts the
    // session back as it was opened.
    GetOwner().KeepOpenedSession();
    // A keypad digit mapped with NumLock on is drawn among the keypad's digits.
    keyboard_.SetNumLock(dynamic_cast<NumpadButton*>(&button) != nullptr);
    SelectedKeyDialog dialog(GetOwner().GetGlobalConfig(), &SessionKeymap(*this), &button,
                             static_cast<int>(GetModifiers(key)), parent);
    dialog.SetKeyboard(&keyboard_);
    return dialog.DoModal() == YID_OK && dialog.IsModified();
}

int SessionMappedKeysPage::MapKey(QWidget* parent) {
    CaptureKeyDialog capture(parent);
    capture.DoModal();
    if (capture.GetScanCode() == 0) {
        return -1;
    }
    keyboard_.SetNumLock(capture.IsNumLockDigit());
    return MapCapturedKey(capture.GetScanCode(), capture.GetModifiers(), parent);
}

int SessionMappedKeysPage::MapCapturedKey(std::uint32_t scanCode, std::uint32_t modifiers,
                                          QWidget* parent) {
    KeyboardButton* button = keyboard_.FindByScanCode(scanCode, (modifiers & kKeyExtended) != 0);
    if (button == nullptr) {
        return -1;  // a key this keyboard does not have
    }
    if (button->IsExtended()) {
        modifiers |= kKeyExtended;
    }
    const std::uint32_t key = button->GetVirtualKey() | modifiers;
    ProfileKeymap& keymap = SessionKeymap(*this);
    const std::uint32_t previousCode = keymap.GetFunctionCode(key);
    const YUnicodeString previousValue = keymap.GetValue(key);
    const YUnicodeString previousArguments = keymap.GetArguments(key);
    if (!EditMapping(*button, key, parent)) {
        return -1;
    }
    Row row = MakeRow(key);
    const int existing = FindRow(row.combination);
    if (existing < 0) {
        rows.push_back(std::move(row));
        SetModified();
        return static_cast<int>(rows.size()) - 1;
    }
    YReportMessageParams question(msg::KeyAlreadyMapped);
    question.AddString(row.combination);
    if (YMessageBox(parent, question, YMB_YESNO | YMB_ICONQUESTION) == YID_YES) {
        rows[static_cast<std::size_t>(existing)] = std::move(row);
    } else {
        keymap.SetFunctionCode(key, previousCode);
        keymap.SetValue(key, previousValue);
        keymap.SetArguments(key, previousArguments);
    }
    SetModified();
    return existing;
}

int SessionMappedKeysPage::Edit(int row, QWidget* parent) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) {
        return -1;
    }
    const std::uint32_t key = rows[static_cast<std::size_t>(row)].key;
    KeyboardButton* button =
        keyboard_.FindByVirtualKey(key & kVirtualKeyMask, (key & kKeyExtended) != 0);
    if (button == nullptr || !EditMapping(*button, key, parent)) {
        return row;
    }
    rows[static_cast<std::size_t>(row)] = MakeRow(key);
    SetModified();
    return row;
}

int SessionMappedKeysPage::Delete(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) {
        return -1;
    }
    GetOwner().KeepOpenedSession();
    SessionKeymap(*this).SetFunctionCode(rows[static_cast<std::size_t>(row)].key, kFunctionNone);
    rows.erase(rows.begin() + row);
    SetModified();
    return std::min(row, static_cast<int>(rows.size()) - 1);
}

void SessionMappedKeysPage::OnCuaCopyPasteChanged(bool on, QWidget* parent) {
    cuaCopyPaste = on;
    if (on) {
        YReportMessageParams warning(msg::CuaCopyPasteWarning);
        YMessageBox(parent, warning, YMB_OK | YMB_ICONWARNING);
    }
}

bool SessionMappedKeysPage::OnOK() {
    if (IsReadOnly()) {
        return true;
    }
    TerminalConfig& terminal = GetSession().terminalConfig;
    terminal.mapBackspace = mapBackspace;
    terminal.mapDelete = mapDelete;
    terminal.cuaCopyPaste = cuaCopyPaste;
    return true;
}
