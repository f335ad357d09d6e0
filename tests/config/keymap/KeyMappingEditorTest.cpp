// The key mapping editor's logic without windows: capturing a key, the on-screen keyboard's keys
// and texts, the Map Selected Key dialog's rows and what OK stores, and the Mapped Keys list.
#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/KeyCodes.h>
#include <RivodeRavudaVU/KeyMappingEditor.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>

namespace rivode::test {
namespace {

// The layout is read once per process; these tests expect the US layout's texts.
const bool usLayout = ::setenv("XKB_DEFAULT_LAYOUT", "us", 1) == 0;

// Message boxes recorded and answered from a queue (then OK).
class AnsweringInterface : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest& request) override {
        shown.push_back(request.text);
        if (answers.empty()) {
            return YID_OK;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    int RunProgress(YProgressDialog&) override { return YID_CANCEL; }

    std::deque<int> answers;
    std::vector<YUnicodeString> shown;
};

class KeyMappingEditorTest : public ::testing::Test {
protected:
    KeyMappingEditorTest() {
        session_->Load(nullptr);
        YSetUserInterface(ui_);
    }
    ~KeyMappingEditorTest() override { YSetUserInterface(nullptr); }

    ProfileKeymap& Keymap() { return static_cast<SessionConfig&>(*session_).terminalConfig.keymap; }

    YRefPtr<ISessionConfig> session_ = YRefPtr<ISessionConfig>::Adopt(new SessionConfig);
    std::shared_ptr<AnsweringInterface> ui_ = std::make_shared<AnsweringInterface>();
    bool keywords_ = false;
    SessionOptionsDialogBase dialog_{nullptr, session_.get(), 0,         false, false,  0, false,
                                     0,       false,          keywords_, 3,     nullptr};
};

// A page whose Map Selected Key dialog is a stand-in: it maps the key to what the test says.
class ScriptedPage : public SessionMappedKeysPage {
public:
    using SessionMappedKeysPage::SessionMappedKeysPage;
    std::uint32_t code = kFunctionSend;
    YUnicodeString value;

protected:
    bool EditMapping(KeyboardButton&, std::uint32_t key, QWidget*) override {
        ProfileKeymap& map = GetSession().terminalConfig.keymap;
        map.SetFunctionCode(key, code);
        map.SetValue(key, value);
        return true;
    }
};

TEST_F(KeyMappingEditorTest, CaptureWaitsThroughModifiersAndKeepsTheExtendedFlag) {
    struct Case {
        const char* name;
        unsigned virtualKey;
        unsigned flags;  // scan code, extended flag
        std::uint32_t held;
        unsigned scanCode;  // 0: still waiting
        unsigned modifiers;
    };
    const Case cases[] = {
        {"Shift alone", 0x10, 0x2A, kKeyShift, 0, 0},
        {"right Alt alone", 0x12, 0x138, kKeyAlt, 0, 0},
        {"Shift+F5", 0x74, 0x3F, kKeyShift, 0x3F, kKeyShift},
        {"Print Screen's key release", 0x2C, 0x137, 0, 0x37, kKeyExtended},
        {"right Ctrl+Insert", 0x2D, 0x152, kKeyCtrl, 0x52, kKeyCtrl | kKeyExtended},
        {"keypad Insert", 0x2D, 0x52, 0, 0x52, 0},
        {"left Windows alone", 0x5B, 0x15B, kKeyWindows, 0, 0},
        {"right Windows alone", 0x5C, 0x15C, kKeyWindows, 0, 0},
        {"Windows+F5", 0x74, 0x3F, kKeyWindows, 0x3F, kKeyWindows},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        CaptureKeyDialog capture;
        capture.SetHeldModifiers(test.held);
        capture.KeyDown(test.virtualKey, 1, test.flags);
        EXPECT_EQ(capture.IsEnded(), test.scanCode != 0);
        EXPECT_EQ(capture.GetScanCode(), test.scanCode);
        EXPECT_EQ(capture.GetModifiers(), test.modifiers);
    }
}

TEST_F(KeyMappingEditorTest, KeysHaveTheirVirtualKeysAndTheLayoutsTexts) {
    ASSERT_TRUE(usLayout);
    OnScreenKeyboard keyboard;
    struct Case {
        std::uint32_t scanCode;
        bool extended;
        std::uint32_t virtualKey;
        int state;
        const char16_t* text;
    };
    const Case cases[] = {
        {0x1E, false, 'A', KeyboardButton::kNone, u"a"},
        {0x1E, false, 'A', KeyboardButton::kShift, u"A"},
        {0x1E, false, 'A', KeyboardButton::kCtrl, u"\\001"},
        {0x1A, false, 0xDB, KeyboardButton::kCtrl, u"\\033"},  // Ctrl+[ is Escape
        {0x03, false, '2', KeyboardButton::kShift, u"@"},
        {0x1E, false, 'A', KeyboardButton::kAlt, u"A"},  // Alt keeps the label
        // Ctrl with Alt is AltGr, and the US layout has no third level.
        {0x1E, false, 'A', KeyboardButton::kCtrl | KeyboardButton::kAlt, u""},
        {0x35, true, 0x6F, KeyboardButton::kNone, u"/"},
        {0x45, false, 0x13, KeyboardButton::kNone, u""},  // Pause
        {0x37, true, 0x2C, KeyboardButton::kNone, u""},   // Print Screen
        {0x52, true, 0x2D, KeyboardButton::kNone, u""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.scanCode);
        const KeyboardButton* button = keyboard.FindByScanCode(test.scanCode, test.extended);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->GetVirtualKey(), test.virtualKey);
        EXPECT_EQ(button->GetKeyState(test.state).text, test.text);
    }
    // With NumLock on the keypad's Insert is the digit 0.
    keyboard.SetNumLock(true);
    EXPECT_EQ(keyboard.FindByScanCode(0x52, false)->GetVirtualKey(), 0x60u);
}

TEST_F(KeyMappingEditorTest, KeyboardButtonsNeitherOverlapNorLeaveTheKeyboard) {
    OnScreenKeyboard keyboard;
    std::vector<OnScreenKeyboard::Place> places;
    for (std::size_t i = 0; i < keyboard.GetMainCount(); ++i) {
        places.push_back(keyboard.GetMainPlace(i));
    }
    for (std::size_t i = 0; i < keyboard.GetModifierCount(); ++i) {
        places.push_back(keyboard.GetModifierPlace(i));
    }
    for (std::size_t i = 0; i < places.size(); ++i) {
        const auto& a = places[i];
        EXPECT_LE(a.x + a.width, keyboard.GetWidth()) << i;
        EXPECT_LE(a.y + a.height, keyboard.GetHeight()) << i;
        for (std::size_t j = i + 1; j < places.size(); ++j) {
            const auto& b = places[j];
            const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x ||
                               a.y + a.height <= b.y || b.y + b.height <= a.y;
            EXPECT_TRUE(apart) << i << " and " << j;
        }
    }
    // One key selected at a time.
    KeyboardButton& first = keyboard.GetMainButton(0);
    KeyboardButton& second = keyboard.GetMainButton(1);
    first.SetState(1);
    second.SetState(1);
    EXPECT_EQ(first.state(), 0);
    EXPECT_EQ(KeyboardButton::GetSelected(), &second);
}

TEST_F(KeyMappingEditorTest, SendStringOnTwoLinesIsStoredWithOneEscapeAndShownAgain) {
    OnScreenKeyboard keyboard;
    KeyboardButton* f5 = keyboard.FindByScanCode(0x3F, false);
    SelectedKeyDialogBase dialog(nullptr, &Keymap(), f5, 0x74 | kKeyShift, nullptr);
    ASSERT_TRUE(dialog.Prepare(nullptr));
    EXPECT_EQ(dialog.GetCombinationText(), u"Shift-VK_F5");
    ASSERT_TRUE(dialog.SetRow(SelectedKeyDialogBase::kSendStringRow));
    dialog.SetSendString(u"ls\ntyped \\r\\n");
    dialog.OnOK();
    EXPECT_TRUE(dialog.IsModified());
    EXPECT_EQ(Keymap().GetValue(0x74 | kKeyShift), u"ls\\r\\ntyped \\\\r\\\\n");

    SelectedKeyDialogBase again(nullptr, &Keymap(), f5, 0x74 | kKeyShift, nullptr);
    ASSERT_TRUE(again.Prepare(nullptr));
    EXPECT_EQ(again.GetRow(), SelectedKeyDialogBase::kSendStringRow);
    EXPECT_EQ(again.GetSendString(), u"ls\ntyped \\r\\n");
    again.OnOK();
    EXPECT_FALSE(again.IsModified());
}

TEST_F(KeyMappingEditorTest, EachRowTakesOnlyItsOwnFunctionsAndOkStoresTheChosenRow) {
    OnScreenKeyboard keyboard;
    KeyboardButton* f5 = keyboard.FindByScanCode(0x3F, false);
    SelectedKeyDialogBase dialog(nullptr, &Keymap(), f5, 0x74, nullptr);
    ASSERT_TRUE(dialog.Prepare(nullptr));
    using Dialog = SelectedKeyDialogBase;
    struct Case {
        int row;
        const char16_t* function;
        bool taken;
    };
    const Case cases[] = {
        {Dialog::kVtRow, u"VT_F15", true},
        {Dialog::kVtRow, u"MENU_COPY", false},  // a menu function is not a VT key
        {Dialog::kMenuRow, u"MENU_COPY", true},
        {Dialog::kTn3270Row, u"TN3270_PF24", true},
        {Dialog::kTn3270Row, u"SSH_BREAK", false},
        {Dialog::kSendStringRow, u"SEND", false},  // a row without a function list
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(ToUtf8(test.function));
        const std::uint32_t before = dialog.GetFunctionValue(test.row);
        const std::uint32_t code = FunctionNameToCode(test.function);
        EXPECT_EQ(dialog.SetFunctionValue(test.row, code), test.taken);
        EXPECT_EQ(dialog.GetFunctionValue(test.row), test.taken ? code : before);
    }
    EXPECT_FALSE(dialog.SetRow(Dialog::kRowCount));
    EXPECT_FALSE(dialog.SetFileName(Dialog::kVtRow, u"/bin/true"));
    // The run-script row's file stays apart from the launch row's; OK takes the row chosen.
    ASSERT_TRUE(dialog.SetFileName(Dialog::kRunScriptRow, u"/scripts/a.py"));
    ASSERT_TRUE(dialog.SetFileName(Dialog::kLaunchRow, u"/bin/top"));
    ASSERT_TRUE(dialog.SetArguments(Dialog::kLaunchRow, u"-d 1"));
    ASSERT_TRUE(dialog.SetRow(Dialog::kLaunchRow));
    dialog.OnOK();
    EXPECT_EQ(Keymap().GetFunctionCode(0x74), kFunctionLaunch);
    EXPECT_EQ(Keymap().GetValue(0x74), u"/bin/top");
    EXPECT_EQ(Keymap().GetArguments(0x74), u"-d 1");
    ASSERT_TRUE(dialog.SetRow(Dialog::kVtRow));
    dialog.OnOK();
    EXPECT_EQ(Keymap().GetFunctionCode(0x74), FunctionNameToCode(u"VT_F15"));
}

TEST_F(KeyMappingEditorTest, ScriptingDisabledWarnsAndFallsBackToTheSendString) {
    const auto global = YRefPtr<GlobalConfig>::Adopt(new GlobalConfig(nullptr, 3, false, false));
    global->disableAllScripting = true;
    OnScreenKeyboard keyboard;
    KeyboardButton* a = keyboard.FindByScanCode(0x1E, false);
    const std::uint32_t key = 'A' | kKeyCtrl;
    Keymap().SetFunctionCode(key, kFunctionRun);
    Keymap().SetValue(key, u"/scripts/logon.py");

    ui_->answers = {YID_CANCEL};
    SelectedKeyDialogBase refused(global.get(), &Keymap(), a, key, nullptr);
    EXPECT_FALSE(refused.Prepare(nullptr));

    SelectedKeyDialogBase accepted(global.get(), &Keymap(), a, key, nullptr);
    ASSERT_TRUE(accepted.Prepare(nullptr));
    ASSERT_EQ(ui_->shown.size(), 2u);
    EXPECT_EQ(ui_->shown[1], YReportMessageParams(msg::ScriptingDisabled).GetTextTrimmed());
    EXPECT_EQ(accepted.GetRow(), SelectedKeyDialogBase::kSendStringRow);
    EXPECT_EQ(accepted.GetSendString(), u"\\001");           // what Ctrl+A types
    EXPECT_EQ(Keymap().GetFunctionCode(key), kFunctionRun);  // nothing stored before OK
}

TEST_F(KeyMappingEditorTest, MappingAKeyAlreadyListedAsksWhetherToReplaceIt) {
    ScriptedPage page(dialog_);
    page.value = u"first";
    ASSERT_EQ(page.MapCapturedKey(0x52, kKeyCtrl | kKeyExtended, nullptr), 0);
    ASSERT_EQ(page.MapCapturedKey(0x52, 0, nullptr), 1);  // keypad Insert is another key
    EXPECT_EQ(page.rows[0].combination, u"Ctrl-Extended-VK_INSERT");
    EXPECT_EQ(page.rows[1].combination, u"VK_INSERT");
    EXPECT_TRUE(ui_->shown.empty());

    const std::uint32_t key = 0x2D | kKeyCtrl | kKeyExtended;
    struct Case {
        int answer;
        const char16_t* stored;
    };
    for (const Case& test : {Case{YID_NO, u"first"}, Case{YID_YES, u"second"}}) {
        ui_->answers = {test.answer};
        page.value = u"second";
        EXPECT_EQ(page.MapCapturedKey(0x52, kKeyCtrl | kKeyExtended, nullptr), 0);
        EXPECT_EQ(Keymap().GetValue(key), test.stored);
        EXPECT_EQ(page.rows[0].argument, test.stored);
        EXPECT_EQ(page.rows.size(), 2u);
    }
    YReportMessageParams question(msg::KeyAlreadyMapped);
    question.AddString(u"Ctrl-Extended-VK_INSERT");
    EXPECT_EQ(ui_->shown.back(), question.GetTextTrimmed());
    // A key the keyboard does not have is ignored.
    EXPECT_EQ(page.MapCapturedKey(0x7E, 0, nullptr), -1);
    // With NumLock on, keypad Insert is the digit 0.
    page.GetKeyboard().SetNumLock(true);
    const int digit = page.MapCapturedKey(0x52, 0, nullptr);
    ASSERT_EQ(digit, 2);
    EXPECT_EQ(page.rows[2].combination, u"VK_NUMPAD0");
}

TEST_F(KeyMappingEditorTest, DeletingTheLastRowSelectsTheNewLastRow) {
    ScriptedPage page(dialog_);
    for (unsigned scanCode : {0x3B, 0x3C, 0x3D}) {  // F1-F3
        page.MapCapturedKey(scanCode, 0, nullptr);
    }
    EXPECT_EQ(page.Delete(2), 1);
    EXPECT_EQ(page.Delete(0), 0);
    EXPECT_EQ(page.rows.size(), 1u);
    EXPECT_EQ(page.rows[0].combination, u"VK_F2");
    EXPECT_EQ(Keymap().GetFunctionCode(0x70), kFunctionNone);
    EXPECT_EQ(page.Delete(0), -1);
}

TEST_F(KeyMappingEditorTest, KeyboardOptionsFollowTheEmulationAndCuaWarns) {
    auto& terminal = static_cast<SessionConfig&>(*session_).terminalConfig;
    for (const char16_t* emulation : {u"VT100", u"TN3270"}) {
        terminal.emulation.Set(emulation);
        SessionMappedKeysPage page(dialog_);
        EXPECT_EQ(page.AreBackspaceDeleteOptionsEnabled(),
                  emulation != std::u16string_view(u"TN3270"));
    }
    SessionMappedKeysPage page(dialog_);
    page.OnCuaCopyPasteChanged(false, nullptr);
    EXPECT_TRUE(ui_->shown.empty());
    page.OnCuaCopyPasteChanged(true, nullptr);
    EXPECT_EQ(ui_->shown.size(), 1u);
    ASSERT_TRUE(page.OnOK());
    EXPECT_TRUE(terminal.cuaCopyPaste.Get());
}

}  // namespace
}  // namespace rivode::test
