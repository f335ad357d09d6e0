#include <RivodeRavudaVU/KeyMappingEditor.h>

#include "config/KeymapText.h"

#include <DavaraZE/YChoosers.h>
#include <DavaraZE/YLabels.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/KeyCodes.h>
#include <RivodeRavudaVU/Keymap.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>

namespace msg = rivode::msg;

namespace {

// The default button bar's name, from the host's own message table.
constexpr std::uint32_t kDefaultButtonBarName = 0x6137008A;

struct RowCodes {
    std::uint32_t first;
    std::uint32_t last;
};
// The codes each row of the "Function" list offers or stands for.
constexpr std::array<RowCodes, SelectedKeyDialogBase::kRowCount> kRowCodes = {{
    {kFunctionNone, kFunctionSend},
    {18, 177},
    {6, 17},
    {178, 182},
    {190, 233},
    {234, 279},
    {183, 189},
    {kFunctionSetButtonbar, kFunctionSetButtonbar},
    {kFunctionRun, kFunctionRun},
    {kFunctionLaunch, kFunctionLaunch},
    {kFunctionDisabled, kFunctionDisabled},
}};

// The escape a stored send text uses for a line break, and what a typed escape becomes so that
// it is not read as a line break.
constexpr std::u16string_view kLineBreakEscape = u"\\r\\n";
constexpr std::u16string_view kDoubledEscape = u"\\\\r\\\\n";

}  // namespace

SelectedKeyDialogBase::SelectedKeyDialogBase(GlobalConfig* global, Keymap* keymap,
                                             KeyboardButton* button, std::uint32_t key,
                                             QWidget* parent)
    : YDialog(kTemplateId, nullptr, parent),
      global_(global),
      keymap_(keymap),
      button_(button),
      key_(key) {}

int SelectedKeyDialogBase::RowOfFunctionCode(std::uint32_t code) {
    for (int row = 0; row < kRowCount; ++row) {
        const RowCodes& codes = kRowCodes[static_cast<std::size_t>(row)];
        if (code >= codes.first && code <= codes.last) {
            return row;
        }
    }
    return kSendStringRow;
}

SelectedKeyDialogBase::Controls SelectedKeyDialogBase::GetRowControls(int row) {
    switch (row) {
        case kSendStringRow:
            return Controls::SendString;
        case kSetButtonBarRow:
            return Controls::ButtonBarList;
        case kRunScriptRow:
        case kLaunchRow:
            return Controls::FileAndArguments;
        case kDisableRow:
            return Controls::None;
        default:
            return Controls::FunctionList;
    }
}

std::vector<std::pair<std::uint32_t, YUnicodeString>> SelectedKeyDialogBase::GetRowFunctions(
    int row) {
    std::vector<std::pair<std::uint32_t, YUnicodeString>> functions;
    if (GetRowControls(row) != Controls::FunctionList) {
        return functions;
    }
    const RowCodes& codes = kRowCodes[static_cast<std::size_t>(row)];
    for (std::uint32_t code = codes.first; code <= codes.last; ++code) {
        YUnicodeString name = FunctionCodeToName(code);
        // The VT keys that older keyboards labelled by what they do.
        if (name == u"VT_F15") {
            name += u" (HELP)";
        } else if (name == u"VT_F16") {
            name += u" (DO)";
        }
        functions.emplace_back(code, std::move(name));
    }
    return functions;
}

YUnicodeString SelectedKeyDialogBase::SendStringForDisplay(const YUnicodeString& stored) {
    // Escapes typed by the user were stored doubled; the single ones are line breaks.
    YUnicodeString shown;
    std::u16string_view text = stored;
    while (!text.empty()) {
        if (text.starts_with(kDoubledEscape)) {
            shown.append(kLineBreakEscape);
            text.remove_prefix(kDoubledEscape.size());
        } else if (text.starts_with(kLineBreakEscape)) {
            shown.push_back(u'\n');
            text.remove_prefix(kLineBreakEscape.size());
        } else {
            shown.push_back(text.front());
            text.remove_prefix(1);
        }
    }
    return shown;
}

YUnicodeString SelectedKeyDialogBase::SendStringForStore(const YUnicodeString& shown) {
    YUnicodeString stored = shown;
    DoubleLineBreakEscapes(stored);
    ReplaceAll(stored, u"\r\n", u"\n");
    ReplaceAll(stored, u"\n", kLineBreakEscape);
    return stored;
}

YUnicodeString SelectedKeyDialogBase::GetCombinationText() const {
    return KeyModifiersToString(key_) + KeyCodeToName(GetUnmodifiedKey(key_) & 0xFF);
}

YUnicodeString SelectedKeyDialogBase::GetDefaultButtonBarName() {
    return LoadMessageString(kDefaultButtonBarName);
}

std::vector<YUnicodeString> SelectedKeyDialogBase::GetButtonBarNames() const {
    std::vector<YUnicodeString> names{GetDefaultButtonBarName()};
    if (SessionDatabaseImpl* database = GetSessionDatabaseImpl()) {
        for (const YUnicodeString& name :
             database->GetCollectionNames(SessionCollection::ButtonBars)) {
            if (!rivode::EqualsNoCase(name, names.front())) {
                names.push_back(name);
            }
        }
    }
    return names;
}

bool SelectedKeyDialogBase::IsScriptingDisabled() const {
    return global_ != nullptr && global_->disableAllScripting;
}

bool SelectedKeyDialogBase::Prepare(QWidget* parent) {
    int current = RowOfFunctionCode(keymap_->GetFunctionCode(key_));
    if (current == kRunScriptRow && IsScriptingDisabled()) {
        YReportMessageParams warning(msg::ScriptingDisabled);
        if (YMessageBox(parent, warning, YMB_OKCANCEL | YMB_ICONWARNING) != YID_OK) {
            return false;
        }
        current = kSendStringRow;
    }
    using Populate = void (SelectedKeyDialogBase::*)(int);
    static constexpr std::array<Populate, kRowCount> kPopulate = {
        &SelectedKeyDialogBase::PopulateSendString,
        &SelectedKeyDialogBase::PopulateMenuFunctions,
        &SelectedKeyDialogBase::PopulateScrollbarFunctions,
        &SelectedKeyDialogBase::PopulateTelnetFunctions,
        &SelectedKeyDialogBase::PopulateTN3270Functions,
        &SelectedKeyDialogBase::PopulateVTFunctions,
        &SelectedKeyDialogBase::PopulateSSHFunctions,
        &SelectedKeyDialogBase::PopulateSetButtonBar,
        &SelectedKeyDialogBase::PopulateRunScript,
        &SelectedKeyDialogBase::PopulateLaunchApplication,
        &SelectedKeyDialogBase::PopulateDisable};
    for (int r = 0; r < kRowCount; ++r) {
        (this->*kPopulate[static_cast<std::size_t>(r)])(r == current ? 1 : -1);
    }
    row_ = current;
    return true;
}

int SelectedKeyDialogBase::DoModal() {
    if (!Prepare(GetParent())) {
        return YID_CANCEL;
    }
    return YDialog::DoModal();
}

void SelectedKeyDialogBase::PopulateSendString(int current) {
    if (current == 1 && keymap_->GetFunctionCode(key_) == kFunctionSend) {
        sendString_ = SendStringForDisplay(keymap_->GetValue(key_));
        return;
    }
    // What the key types now is the natural start for what it should send.
    sendString_.clear();
    if (button_ != nullptr) {
        sendString_ = button_->GetKeyState(mapModifiers(key_)).text;
    }
}

void SelectedKeyDialogBase::PopulateFunctions(int functionRow, int current) {
    const std::uint32_t code = keymap_->GetFunctionCode(key_);
    functionCodes_[static_cast<std::size_t>(functionRow)] =
        current == 1 ? code : kRowCodes[static_cast<std::size_t>(functionRow)].first;
}

void SelectedKeyDialogBase::PopulateMenuFunctions(int current) {
    PopulateFunctions(kMenuRow, current);
}
void SelectedKeyDialogBase::PopulateScrollbarFunctions(int current) {
    PopulateFunctions(kScrollBarRow, current);
}
void SelectedKeyDialogBase::PopulateTelnetFunctions(int current) {
    PopulateFunctions(kTelnetRow, current);
}
void SelectedKeyDialogBase::PopulateTN3270Functions(int current) {
    PopulateFunctions(kTn3270Row, current);
}
void SelectedKeyDialogBase::PopulateVTFunctions(int current) {
    PopulateFunctions(kVtRow, current);
}
void SelectedKeyDialogBase::PopulateSSHFunctions(int current) {
    PopulateFunctions(kSshRow, current);
}

void SelectedKeyDialogBase::PopulateSetButtonBar(int current) {
    buttonBar_ = current == 1 ? keymap_->GetValue(key_) : GetDefaultButtonBarName();
}

void SelectedKeyDialogBase::PopulateRunScript(int current) {
    if (current == 1) {
        scriptFileName_ = keymap_->GetValue(key_);
        scriptArguments_ = keymap_->GetArguments(key_);
    }
}

void SelectedKeyDialogBase::PopulateLaunchApplication(int current) {
    if (current == 1) {
        launchProgram_ = keymap_->GetValue(key_);
        launchArguments_ = keymap_->GetArguments(key_);
    }
}

void SelectedKeyDialogBase::PopulateDisable(int /*current*/) {}

bool SelectedKeyDialogBase::OnBrowse(QWidget* parent) {
    const bool script = row_ == kRunScriptRow;
    YUnicodeString& file = script ? scriptFileName_ : launchProgram_;
    YFileFilterList filters;
    if (script) {
        YAppendFileFilter(filters, LoadMessageString(msg::ScriptFilesFilter),
                          u"*.vbs; *.vbe; *.js; *.pl; *.py");
    }
    YAppendAllFilesFilter(filters);
    const std::size_t slash = file.find_last_of(u"/\\");
    YFileDialog chooser(
        true, LoadMessageString(script ? msg::SelectScriptFileTitle : msg::SelectExecutableTitle),
        filters, slash == YUnicodeString::npos ? YUnicodeString() : file.substr(0, slash), parent);
    if (chooser.DoModal() != YID_OK) {
        return false;
    }
    file = chooser.GetPathName();
    return true;
}

void SelectedKeyDialogBase::OnOK() {
    std::uint32_t code = kRowCodes[static_cast<std::size_t>(row_)].first;
    YUnicodeString value;
    YUnicodeString arguments;
    switch (row_) {
        case kSendStringRow:
            code = kFunctionSend;
            value = SendStringForStore(GetSendString());
            break;
        case kMenuRow:
            code = GetMenuValue();
            break;
        case kScrollBarRow:
            code = GetScrollbarValue();
            break;
        case kTelnetRow:
            code = GetTelnetValue();
            break;
        case kTn3270Row:
            code = GetTN3270Value();
            break;
        case kVtRow:
            code = GetVTValue();
            break;
        case kSshRow:
            code = GetSSHValue();
            break;
        case kSetButtonBarRow:
            value = GetSetButtonBarValue();
            break;
        case kRunScriptRow:
            value = GetScriptFileName();
            arguments = GetScriptArguments();
            break;
        case kLaunchRow:
            value = GetLaunchFileName();
            arguments = GetLaunchArguments();
            break;
        default:
            break;
    }
    const KeyMapEntry* before = keymap_->Find(key_);
    modified_ = before == nullptr || before->functionCode != code || before->value != value ||
                before->arguments != arguments;
    keymap_->SetFunctionCode(key_, code);
    keymap_->SetValue(key_, value);
    keymap_->SetArguments(key_, arguments);
    YDialog::OnOK();
}

bool SelectedKeyDialogBase::SetRow(int row) {
    if (row < 0 || row >= kRowCount) {
        return false;
    }
    row_ = row;
    return true;
}

std::uint32_t SelectedKeyDialogBase::GetFunctionValue(int row) const {
    return GetRowControls(row) == Controls::FunctionList && row >= 0 && row < kRowCount
               ? functionCodes_[static_cast<std::size_t>(row)]
               : 0;
}

bool SelectedKeyDialogBase::SetFunctionValue(int row, std::uint32_t code) {
    // A code of another row would store a function the row does not name.
    if (row < 0 || row >= kRowCount || GetRowControls(row) != Controls::FunctionList) {
        return false;
    }
    const RowCodes& codes = kRowCodes[static_cast<std::size_t>(row)];
    if (code < codes.first || code > codes.last) {
        return false;
    }
    functionCodes_[static_cast<std::size_t>(row)] = code;
    return true;
}

bool SelectedKeyDialogBase::SetFileName(int row, const YUnicodeString& file) {
    if (row != kRunScriptRow && row != kLaunchRow) {
        return false;
    }
    (row == kRunScriptRow ? scriptFileName_ : launchProgram_) = file;
    return true;
}

bool SelectedKeyDialogBase::SetArguments(int row, const YUnicodeString& arguments) {
    if (row != kRunScriptRow && row != kLaunchRow) {
        return false;
    }
    (row == kRunScriptRow ? scriptArguments_ : launchArguments_) = arguments;
    return true;
}

SelectedKeyDialog::SelectedKeyDialog(GlobalConfig* global, Keymap* keymap, KeyboardButton* button,
                                     int modifiers, QWidget* parent)
    : SelectedKeyDialogBase(
          global, keymap, button,
          (button != nullptr ? button->GetVirtualKey() : 0) | static_cast<std::uint32_t>(modifiers),
          parent) {}

YUnicodeString SelectedKeyDialog::GetTitle() {
    return LoadMessageString(msg::MapSelectedKeyTitle);
}

KeyboardButton::Modifier mapModifiers(unsigned int modifiers) {
    int index = 0;
    index |= (modifiers & kKeyCtrl) != 0 ? KeyboardButton::kCtrl : 0;
    index |= (modifiers & kKeyShift) != 0 ? KeyboardButton::kShift : 0;
    index |= (modifiers & kKeyAlt) != 0 ? KeyboardButton::kAlt : 0;
    return static_cast<KeyboardButton::Modifier>(index);
}
