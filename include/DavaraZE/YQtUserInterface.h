// The companion library's Qt half: the window back end of YUserInterface.h, the forms it binds
// to dialog template ids, and where it keeps window placements.
//
// A host with a window system creates a QApplication, calls RivodeRavudaVuInitGUI and then
// YSetUserInterface(YCreateQtUserInterface()). Everything here runs on the thread of the
// QApplication, except YProgressDialog::PostClose and its line updates, which any thread may call.
#pragma once

#include <DavaraZE/YUserInterface.h>

#include <memory>
#include <string>

#pragma GCC visibility push(default)

class QDialog;
class QWidget;
class YPropertyTreePage;

// Message boxes as Qt message boxes, progress windows, dialogs through their registered forms,
// property-tree dialogs as a tree of pages beside the page area, Qt's file and folder dialogs.
std::shared_ptr<YUserInterface> YCreateQtUserInterface();

// Fills window (an empty QDialog, already the dialog's window) with the widgets of a dialog's
// form and wires them to dialog. The window's accept() and reject() call dialog.OnOK() and
// dialog.OnCancel(); the window closes once the dialog has ended (EndDialog).
using YDialogFormBuilder = void (*)(YDialog& dialog, QDialog& window);

// Binds a template id to its form; a later registration of the same id replaces the earlier.
// A dialog whose template has no form cannot be shown: DoModal returns YID_CANCEL.
void YRegisterDialogForm(unsigned templateId, YDialogFormBuilder builder);
YDialogFormBuilder YFindDialogForm(unsigned templateId);

// Makes the widget of a property-tree page (a child of parent) and wires it to page; used for
// pages whose CreatePageWidget makes none. Pages hold their logic below the user interface, so
// their forms are bound by template id as dialogs' are.
using YPageFormBuilder = QWidget* (*)(YPropertyTreePage& page, QWidget* parent);
void YRegisterPageForm(unsigned templateId, YPageFormBuilder builder);
YPageFormBuilder YFindPageForm(unsigned templateId);

// Keeps window placements between runs of a dialog, by the dialog's placement name. The bytes
// are Qt's saved geometry. The default store keeps them for the life of the process; a host
// that remembers them across runs registers its own.
class YWindowPlacementStore {
public:
    virtual ~YWindowPlacementStore() = default;
    // false when nothing is kept under name.
    virtual bool LoadPlacement(const YUnicodeString& name, std::string& placement) = 0;
    virtual void SavePlacement(const YUnicodeString& name, const std::string& placement) = 0;
};

// nullptr returns to the store of the process.
void YSetWindowPlacementStore(std::shared_ptr<YWindowPlacementStore> store);
std::shared_ptr<YWindowPlacementStore> YGetWindowPlacementStore();

#pragma GCC visibility pop
