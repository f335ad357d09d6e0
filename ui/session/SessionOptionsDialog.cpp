// The Session Options dialog on its Qt window: the page forms bound by template id, the
// read-only prompt posted once the window shows, and the field a refused OK points at.
#include "ui/session/PageForm.h"
#include "ui/session/PageForms.h"

#include <DavaraZE/YQtUserInterface.h>
#include <RivodeRavudaVU/EditDefaultSession.h>
#include <RivodeRavudaVU/KeyMappingEditor.h>
#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

namespace {

constexpr unsigned kValuesPageTemplates[] = {
    4453, 4365, 4343, 4321, 4329, 4301, 11477, 4473,
    5057, 5060, 4448, 4482, 4375, 4381, 11478, SessionValuesPage::kProtocolTemplateId};

// A page's form as build draws it; on a read-only session (a session in use by a locked
// session) with every field disabled, since nothing edited there could be saved.
template <YPageFormBuilder build>
QWidget* ReadOnlyAware(YPropertyTreePage& page, QWidget* parent) {
    QWidget* form = build(page, parent);
    const auto* sessionPage = dynamic_cast<const SessionOptionsPage*>(&page);
    if (form != nullptr && sessionPage != nullptr && sessionPage->IsReadOnly()) {
        rivode::ui::DisableFields(*form);
    }
    return form;
}

}  // namespace

SessionOptionsDialog::SessionOptionsDialog(GlobalConfig* global, ISessionConfig* session, int mode,
                                           bool newSession, bool skipNameValidation,
                                           int emulationValue, bool modesValue, int appearanceValue,
                                           bool printingValue, bool& keywordListsChanged,
                                           int product, QWidget* parent)
    : SessionOptionsDialogBase(global, session, mode, newSession, skipNameValidation,
                               emulationValue, modesValue, appearanceValue, printingValue,
                               keywordListsChanged, product, parent) {
    SetNewSession(newSession);
}

bool SessionOptionsDialog::OnInitDialog() {
    if (!SessionOptionsDialogBase::OnInitDialog()) {
        return false;
    }
    if (IsReadOnlyPromptPending() && GetWindow() != nullptr) {
        // Posted, so that the user sees the dialog the prompt speaks of behind it.
        QTimer::singleShot(0, GetWindow(), [this] {
            if (IsReadOnlyPromptPending()) {
                ShowReadOnlyPrompt(GetWindow());
            }
        });
    }
    return true;
}

void SessionOptionsDialog::OnOK() {
    SessionOptionsDialogBase::OnOK();
    if (IsEnded() || GetWindow() == nullptr) {
        return;
    }
    // A page refused: the window shows that page; its offending field takes the focus.
    auto* page = dynamic_cast<SessionOptionsPage*>(GetActivePage());
    if (page == nullptr || page->GetFocusField() == 0) {
        return;
    }
    const QString pageName = rivode::ui::ToQ(page->GetPath());
    for (QWidget* widget : GetWindow()->findChildren<QWidget*>(pageName)) {
        if (QWidget* field = rivode::ui::FindField(widget, page->GetFocusField())) {
            QTimer::singleShot(0, field, [field] { field->setFocus(Qt::OtherFocusReason); });
        }
    }
}

int ShowSessionOptionsDialog(GlobalConfig* global, ISessionConfig* session, int mode,
                             bool newSession, bool skipNameValidation, int emulationValue,
                             bool modesValue, int appearanceValue, bool printingValue,
                             bool& keywordListsChanged, int product, QWidget* parent) {
    SessionOptionsDialog dialog(global, session, mode, newSession, skipNameValidation,
                                emulationValue, modesValue, appearanceValue, printingValue,
                                keywordListsChanged, product, parent);
    return dialog.DoModal();
}

void RegisterSessionOptionsForms() {
    // The on-screen keyboard shows what keys type in the user's layout. Under X11 that is the
    // server's live keymap, read through the application's own connection. Wayland keeps the
    // compositor's keymap with the client's input device, which Qt does not hand out: there, as
    // offscreen (no keyboard at all), the layout comes from the XKB_DEFAULT_* names the
    // compositor itself reads, and is "us" when they are unset.
    if (const auto* x11 = qGuiApp != nullptr
                              ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                              : nullptr) {
        UseX11KeyboardLayout(x11->connection());
        // The connection goes with the application; keyboards made later use the names.
        QObject::connect(qGuiApp, &QObject::destroyed, [] { UseX11KeyboardLayout(nullptr); });
    }
    using namespace rivode::ui;
    YRegisterPageForm(SessionConnectPage::kBothKindsTemplateId, &ReadOnlyAware<BuildConnectPage>);
    YRegisterPageForm(SessionConnectPage::kOneKindTemplateId, &ReadOnlyAware<BuildConnectPage>);
    YRegisterPageForm(SessionLogonScriptsPage::kTemplateId, &ReadOnlyAware<BuildLogonScriptsPage>);
    YRegisterPageForm(SessionLogFilePage::kTemplateId, &ReadOnlyAware<BuildLogFilePage>);
    YRegisterPageForm(SessionMappedKeysPage::kTemplateId, &ReadOnlyAware<BuildMappedKeysPage>);
    YRegisterDialogForm(CaptureKeyDialog::kTemplateId, &rivode::ui::BuildCaptureKeyForm);
    YRegisterDialogForm(SelectedKeyDialog::kTemplateId, &rivode::ui::BuildSelectedKeyForm);
    for (unsigned id : kValuesPageTemplates) {
        YRegisterPageForm(id, &ReadOnlyAware<BuildValuesPage>);
    }
    YRegisterDialogForm(ExpectSendPropertiesDialog::kTemplateId, &rivode::ui::BuildExpectSendForm);
    YRegisterDialogForm(ApplyDefaultSessionChangesDialog::kTemplateId,
                        &rivode::ui::BuildApplyDefaultChangesForm);
    RegisterSessionOptionsDialog(&ShowSessionOptionsDialog);
}
