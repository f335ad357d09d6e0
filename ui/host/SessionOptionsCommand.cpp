#include "SessionOptionsCommand.h"

#include "GuiHostSetup.h"
#include "Screenshot.h"

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/EditDefaultSession.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/KeyCodes.h>
#include <RivodeRavudaVU/KeyMappingEditor.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <QApplication>

#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace rivode::ui {

namespace {

std::string Text(YReportMessageParams& report) {
    return ToUtf8(report.GetSingleLineTextTrimmed());
}

// The Emulation page bounds the scrollback by the application-wide limit, as the
// default-session editor does.
int ScrollbackLimit(GlobalConfig* global) {
    return global != nullptr ? static_cast<int>(global->maxScrollbackBufferSize.Get()) : 0;
}

// Makes the dialog open at the page named by name; false when the session's dialog has no such
// page or does not show it for the session's protocols.
bool ChoosePage(GlobalConfig* global, ISessionConfig& session, int mode, const YUnicodeString& name,
                std::string& problem) {
    if (name.empty()) {
        return true;
    }
    bool keywordListsChanged = false;
    SessionOptionsDialogBase dialog(global, &session, mode, false, true, ScrollbackLimit(global),
                                    false, 0, false, keywordListsChanged, kGuiProduct, nullptr);
    // Opening places the protocols' own pages (made on first need) and hides what the
    // session's protocols do not use.
    (void)dialog.OnInitDialog();
    const YPropertyTreePage* page = dialog.FindPage(name);
    if (page == nullptr) {
        problem = "Session Options has no page '" + ToUtf8(name) +
                  "' (a name several pages share needs its path, such as "
                  "\"Terminal\\Emulation\\Advanced\")";
        return false;
    }
    // A page the session's protocols do not use cannot be shown.
    const std::vector<YPropertyTreePage*> shown = dialog.GetShownPages();
    if (std::find(shown.begin(), shown.end(), page) == shown.end()) {
        problem =
            "the page '" + ToUtf8(page->GetPath()) + "' is not shown for this session's protocols";
        return false;
    }
    SessionOptionsDialogBase::m_pageStateMap.SetLastPage(page->GetPath());
    return true;
}

// Once the dialog's window shows: renders it into path and cancels it.
void ScreenshotWhenShown(const std::string& path, std::string& problem, bool& failed) {
    if (path.empty()) {
        return;
    }
    QTimer::singleShot(0, [&path, &problem, &failed] {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr) {
            problem = "the dialog did not show";
            failed = true;
            return;
        }
        QApplication::processEvents();
        if (!SaveScreenshot(*window, path, problem)) {
            failed = true;
        }
        window->close();
    });
}

int EditSession(const GuiOptions& options, GlobalConfig* global, std::string& problem) {
    YReportMessageParams report;
    const YRefPtr<ISessionConfig> session =
        GetSessionDatabaseImpl()->OpenSession(options.sessionPath, report);
    if (!session) {
        problem = Text(report);
        return 1;
    }
    if (!ChoosePage(global, *session, 0, options.page, problem)) {
        return 2;
    }
    bool failed = false;
    ScreenshotWhenShown(options.screenshot, problem, failed);
    YUnicodeString savedPath;
    const bool saved = EditStoredSession(global, *session, nullptr, savedPath, report);
    if (failed) {
        return 1;
    }
    if (!saved) {
        problem = Text(report);
        return 1;
    }
    return 0;
}

// "Ctrl-Shift-VK_F5": the modifiers' prefixes as the Mapped Keys page shows them, then the key's
// name. false when the text names no key of the on-screen keyboard.
bool ParseCombination(const YUnicodeString& text, std::uint32_t& virtualKey,
                      std::uint32_t& modifiers) {
    static constexpr std::pair<std::u16string_view, std::uint32_t> kPrefixes[] = {
        {u"Alt-", kKeyAlt},
        {u"Ctrl-", kKeyCtrl},
        {u"Shift-", kKeyShift},
        {u"Extended-", kKeyExtended}};
    std::u16string_view rest = text;
    modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [prefix, bit] : kPrefixes) {
            if (rest.starts_with(prefix)) {
                modifiers |= bit;
                rest.remove_prefix(prefix.size());
                found = true;
            }
        }
    }
    virtualKey = KeyNameToCode(rest);
    return virtualKey <= 0xFF;
}

int MapKey(const GuiOptions& options, GlobalConfig* global, std::string& problem) {
    SessionDatabaseImpl& database = *GetSessionDatabaseImpl();
    YReportMessageParams report;
    const YRefPtr<ISessionConfig> session = database.OpenSession(options.sessionPath, report);
    if (!session) {
        problem = Text(report);
        return 1;
    }
    std::uint32_t virtualKey = 0;
    std::uint32_t modifiers = 0;
    OnScreenKeyboard keyboard;
    KeyboardButton* button =
        ParseCombination(options.mapKey, virtualKey, modifiers)
            ? keyboard.FindByVirtualKey(virtualKey, (modifiers & kKeyExtended) != 0)
            : nullptr;
    if (button == nullptr) {
        problem = "'" + ToUtf8(options.mapKey) + "' is no key combination of the keyboard";
        return 2;
    }
    ProfileKeymap& keymap = static_cast<SessionConfig&>(*session).terminalConfig.keymap;
    SelectedKeyDialog dialog(global, &keymap, button, static_cast<int>(modifiers), nullptr);
    dialog.SetKeyboard(&keyboard);
    bool failed = false;
    ScreenshotWhenShown(options.screenshot, problem, failed);
    if (dialog.DoModal() != YID_OK || !dialog.IsModified() || failed) {
        return failed ? 1 : 0;
    }
    if (!database.SaveSession(*session, false, report)) {
        YMessageBox(report);
        problem = Text(report);
        return 1;
    }
    return 0;
}

int EditDefault(const GuiOptions& options, GlobalConfig* global, std::string& problem) {
    const YRefPtr<ISessionConfig> session =
        GetSessionDatabaseImpl()->OpenSession(YUnicodeString(kDefaultSessionName));
    if (session &&
        !ChoosePage(global, *session, kSessionOptionsModeDefaultSession, options.page, problem)) {
        return 2;
    }
    bool failed = false;
    ScreenshotWhenShown(options.screenshot, problem, failed);
    bool allUpdated = false;
    // The editor asks whether the changes go to every session, saves and shows its failures.
    (void)EditDefaultSession(global, 0, kGuiProduct, nullptr, allUpdated);
    return failed ? 1 : 0;
}

}  // namespace

bool EditStoredSession(GlobalConfig* global, ISessionConfig& session, QWidget* parent,
                       YUnicodeString& savedPath, YReportMessageParams& report) {
    savedPath.clear();
    const YUnicodeString openedPath = session.GetPath();
    bool keywordListsChanged = false;
    const int result =
        ShowSessionOptionsDialog(global, &session, 0, false, false, ScrollbackLimit(global), false,
                                 0, false, keywordListsChanged, kGuiProduct, parent);
    if (result != YID_OK) {
        return true;
    }
    SessionDatabaseImpl& database = *GetSessionDatabaseImpl();
    // A new name on the Connection page is a rename of the stored session first, so the save
    // goes to the session's own key (and its place in the folder's order stays).
    if (session.GetPath() != openedPath &&
        !database.RenameItem(openedPath, session.GetName(), report)) {
        YMessageBox(parent, report);
        return false;
    }
    if (!database.SaveSession(session, false, report)) {
        YMessageBox(parent, report);
        return false;
    }
    savedPath = session.GetPath();
    return true;
}

bool LoadProtocolModules(std::string& problem) {
    // Sessions hold their protocols' configurations, and the dialog's pages follow the
    // protocols: the modules load before any session is opened.
    const YAppFnTable table{LoadConnectProtocolModule, nullptr, nullptr};
    bool fipsMode = false;
    YReportMessageParams report;
    if (!LoadConnectionProtocolDlls(table, kGuiProduct, GetDefaultConnectModuleFolder(), fipsMode,
                                    report)) {
        problem = "the protocol modules could not be loaded: " + Text(report);
        return false;
    }
    return true;
}

int RunSessionOptions(const GuiOptions& options, std::string& problem) {
    if (!LoadProtocolModules(problem)) {
        return 1;
    }
    const YRefPtr<GlobalConfig> global = GetGlobalConfig();
    if (!options.mapKey.empty()) {
        return MapKey(options, global.get(), problem);
    }
    return options.command == GuiCommand::Default ? EditDefault(options, global.get(), problem)
                                                  : EditSession(options, global.get(), problem);
}

}  // namespace rivode::ui
