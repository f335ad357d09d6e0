// The key mapping editor: the Session Options "Mapped Keys" page, the "Map Key" dialog that waits
// for one key press, and the "Map Selected Key" dialog that edits what one key combination does.
// They edit the session's own key map (TerminalConfig's ProfileKeymap) directly; the Session
// Options dialog's OK or Cancel decides whether the session keeps the changes (Cancel puts the
// session back as it was opened). User-interface thread only.
#pragma once

#include <RivodeRavudaVU/KeyboardButton.h>
#include <RivodeRavudaVU/SessionOptionsPages.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#pragma GCC visibility push(default)

class GlobalConfig;
class Keymap;

// "Map Key": waits for a key press. The window hands every key press (and the key release of
// Print Screen, which sends no press) to KeyDown.
class CaptureKeyDialog : public YDialog {
public:
    static constexpr unsigned kTemplateId = 4433;
    // The extended-key flag in KeyDown's flags (the scan code is in bits 0-7).
    static constexpr unsigned kExtendedFlag = 0x100;

    explicit CaptureKeyDialog(QWidget* parent = nullptr);

    // Shift, Ctrl, Alt and the Windows keys alone (virtual keys 0x10-0x12, 0x5B, 0x5C) keep the
    // dialog waiting. Any other key records its scan code and the modifiers held
    // (SetHeldModifiers, Windows among them), Extended when flags says so, and ends the dialog
    // with YID_OK.
    void KeyDown(unsigned int virtualKey, unsigned int repeat, unsigned int flags);
    // The live state of Shift, Ctrl, Alt and the Windows key as key-code modifier bits
    // (kKeyShift, ..., kKeyWindows); the window sets it before each KeyDown.
    void SetHeldModifiers(std::uint32_t modifiers) { held_ = modifiers; }
    // Whether the key pressed was a keypad digit with NumLock on (the window tells, before
    // KeyDown): the key is then the digit, not the cursor key of the same scan code.
    void SetNumLockDigit(bool digit) { numLockDigit_ = digit; }
    bool IsNumLockDigit() const { return numLockDigit_; }

    // 0 until a key was captured (Cancel leaves it so).
    unsigned int GetScanCode() const { return scanCode_; }
    unsigned int GetModifiers() const { return modifiers_; }

    static YUnicodeString GetTitle();

private:
    std::uint32_t held_ = 0;
    bool numLockDigit_ = false;
    unsigned int scanCode_ = 0;
    unsigned int modifiers_ = 0;
};

// Shows "Map Key" modally; true when a key was captured.
bool LaunchCaptureKeyDialog(unsigned int& scanCode, unsigned int& modifiers, QWidget* parent);

// "Map Selected Key": the function of one key combination, chosen among eleven kinds.
class SelectedKeyDialogBase : public YDialog {
public:
    static constexpr unsigned kTemplateId = 4425;
    enum Row {
        kSendStringRow,
        kMenuRow,
        kScrollBarRow,
        kTelnetRow,
        kTn3270Row,
        kVtRow,
        kSshRow,
        kSetButtonBarRow,
        kRunScriptRow,
        kLaunchRow,
        kDisableRow,
        kRowCount
    };
    // What each row shows below the list.
    enum class Controls { SendString, FunctionList, ButtonBarList, FileAndArguments, None };

    // key: the button's virtual key with the modifiers. global may be null (no button bars, and
    // scripting allowed). keymap and button must outlive the dialog.
    SelectedKeyDialogBase(GlobalConfig* global, Keymap* keymap, KeyboardButton* button,
                          std::uint32_t key, QWidget* parent);

    // The row whose codes hold code; a key without a mapping is in the send-string row.
    static int RowOfFunctionCode(std::uint32_t code);
    static Controls GetRowControls(int row);
    // The function names of rows 1-6 in code order, each with its code.
    static std::vector<std::pair<std::uint32_t, YUnicodeString>> GetRowFunctions(int row);
    // The stored send text shown for editing ("\r\n" escapes as line breaks, doubled escapes
    // single) and back.
    static YUnicodeString SendStringForDisplay(const YUnicodeString& stored);
    static YUnicodeString SendStringForStore(const YUnicodeString& shown);

    // The keyboard the key is on, drawn with the key selected and in the combination's modifier
    // state (not owned; may stay null).
    void SetKeyboard(OnScreenKeyboard* keyboard) { keyboard_ = keyboard; }
    OnScreenKeyboard* GetKeyboard() const { return keyboard_; }
    KeyboardButton* GetButton() const { return button_; }
    // "Alt-Ctrl-Shift-VK_M".
    YUnicodeString GetCombinationText() const;
    std::uint32_t GetKey() const { return key_; }
    // The button bars offered: the default bar's label first, then the application's bars.
    static YUnicodeString GetDefaultButtonBarName();
    std::vector<YUnicodeString> GetButtonBarNames() const;

    // Before the window opens: a key mapped to RUN while scripting is administratively disabled
    // first gets the warning; Cancel there gives false (the dialog is not shown). Then every
    // row is populated.
    bool Prepare(QWidget* parent);
    // Runs Prepare, then the window.
    int DoModal() override;
    // OK: the chosen row's function, value and arguments go into the key map.
    void OnOK() override;
    // Whether OK changed the key's function, value or arguments.
    bool IsModified() const { return modified_; }

    // One per row, in row order: current is 1 for the key's row, -1 for the others.
    virtual void PopulateSendString(int current);
    virtual void PopulateMenuFunctions(int current);
    virtual void PopulateScrollbarFunctions(int current);
    virtual void PopulateTelnetFunctions(int current);
    virtual void PopulateTN3270Functions(int current);
    virtual void PopulateVTFunctions(int current);
    virtual void PopulateSSHFunctions(int current);
    virtual void PopulateSetButtonBar(int current);
    virtual void PopulateRunScript(int current);
    virtual void PopulateLaunchApplication(int current);
    virtual void PopulateDisable(int current);

    // The browse button of the file rows: the chosen file replaces the row's file name.
    bool OnBrowse(QWidget* parent);
    bool IsScriptingDisabled() const;

    // The row chosen in the "Function" list; the form's choice goes through SetRow (a row out
    // of range is refused).
    int GetRow() const { return row_; }
    bool SetRow(int row);

    // What each row's controls hold, as OnOK takes them. Function rows give their chosen code.
    const YUnicodeString& GetSendString() const { return sendString_; }  // lines joined with LF
    std::uint32_t GetMenuValue() const { return GetFunctionValue(kMenuRow); }
    std::uint32_t GetScrollbarValue() const { return GetFunctionValue(kScrollBarRow); }
    std::uint32_t GetTelnetValue() const { return GetFunctionValue(kTelnetRow); }
    std::uint32_t GetTN3270Value() const { return GetFunctionValue(kTn3270Row); }
    std::uint32_t GetVTValue() const { return GetFunctionValue(kVtRow); }
    std::uint32_t GetSSHValue() const { return GetFunctionValue(kSshRow); }
    const YUnicodeString& GetSetButtonBarValue() const { return buttonBar_; }
    const YUnicodeString& GetScriptFileName() const { return scriptFileName_; }
    const YUnicodeString& GetScriptArguments() const { return scriptArguments_; }
    const YUnicodeString& GetLaunchFileName() const { return launchProgram_; }
    const YUnicodeString& GetLaunchArguments() const { return launchArguments_; }
    // The code chosen in a function row (1-6); 0 for the other rows.
    std::uint32_t GetFunctionValue(int row) const;

    // The form's edits. A function row takes only codes of its own range (false otherwise); the
    // file rows (run script, launch) keep a file and arguments each.
    void SetSendString(const YUnicodeString& shown) { sendString_ = shown; }
    bool SetFunctionValue(int row, std::uint32_t code);
    void SetButtonBar(const YUnicodeString& name) { buttonBar_ = name; }
    bool SetFileName(int row, const YUnicodeString& file);
    bool SetArguments(int row, const YUnicodeString& arguments);

private:
    void PopulateFunctions(int functionRow, int current);

    GlobalConfig* global_;
    Keymap* keymap_;
    KeyboardButton* button_;
    OnScreenKeyboard* keyboard_ = nullptr;
    std::uint32_t key_;
    bool modified_ = false;
    int row_ = kSendStringRow;
    std::array<std::uint32_t, kRowCount> functionCodes_{};  // rows 1-6: the chosen code
    YUnicodeString sendString_;
    YUnicodeString buttonBar_;
    YUnicodeString scriptFileName_;
    YUnicodeString scriptArguments_;
    YUnicodeString launchProgram_;
    YUnicodeString launchArguments_;
};

class SelectedKeyDialog : public SelectedKeyDialogBase {
public:
    SelectedKeyDialog(GlobalConfig* global, Keymap* keymap, KeyboardButton* button, int modifiers,
                      QWidget* parent);
    static YUnicodeString GetTitle();
};

// The modifier state index of key-code modifiers: Alt 4 + Shift 2 + Ctrl 1.
KeyboardButton::Modifier mapModifiers(unsigned int modifiers);

class SessionMappedKeysPage : public SessionOptionsPage {
public:
    static constexpr unsigned kTemplateId = 4443;
    enum Field { kListField = 1 };
    struct Row {
        std::uint32_t key = 0;
        YUnicodeString combination;
        YUnicodeString function;
        YUnicodeString argument;
    };

    explicit SessionMappedKeysPage(SessionOptionsDialogBase& dialog);

    std::vector<Row> rows;
    bool mapBackspace = false;
    bool mapDelete = false;
    bool cuaCopyPaste = false;

    static std::vector<YUnicodeString> GetColumnTitles();
    OnScreenKeyboard& GetKeyboard() { return keyboard_; }
    // Backspace and Delete cannot be swapped on a TN3270 session: the emulation as chosen now on
    // the dialog's Emulation page.
    bool AreBackspaceDeleteOptionsEnabled() const;
    // Shown again: the emulation may have changed on the Emulation page meanwhile.
    bool OnSetActive() override;

    // "Map a Key...": captures a key and edits its mapping. Each returns the row to select
    // (-1: the list is unchanged).
    int MapKey(QWidget* parent);
    // The same from a captured scan code and modifiers (Extended among them when the key sent
    // it). A key that is not on the keyboard is ignored.
    int MapCapturedKey(std::uint32_t scanCode, std::uint32_t modifiers, QWidget* parent);
    int Edit(int row, QWidget* parent);
    // Removes the row's mapping; the row now at its index is selected, or the last row.
    int Delete(int row);
    // Turning CUA copy and paste on warns what it costs.
    void OnCuaCopyPasteChanged(bool on, QWidget* parent);

    bool OnOK() override;

protected:
    // Edits the mapping of key on button ("Map Selected Key"); true when it changed.
    virtual bool EditMapping(KeyboardButton& button, std::uint32_t key, QWidget* parent);

private:
    Row MakeRow(std::uint32_t key) const;
    int FindRow(const YUnicodeString& combination) const;

    OnScreenKeyboard keyboard_;
};

#pragma GCC visibility pop
