// A protocol module's pages in an options dialog: the module makes the set once the dialog
// first needs it (ConnectProtocolFunctions::createPages), adds its pages below the Connection
// page, and shows or hides them as the session's protocols change. The dialog owns the set and
// deletes it before the dialog itself goes. User-interface thread only.
#pragma once

#pragma GCC visibility push(default)

class ISessionConfig;
class QWidget;
class YPropertyTreeDialog;

class IProtocolPages {
public:
    virtual ~IProtocolPages() = default;
    // Puts the set's pages in the tree (shown) and copies their values out of session.
    virtual void Show(YPropertyTreeDialog& dialog, ISessionConfig& session) = 0;
    // Takes the set's pages out of sight; their edits are kept until the dialog ends.
    virtual void Hide(YPropertyTreeDialog& dialog) = 0;
    // The window prompts of the set's pages go over.
    virtual void SetParentWindow(QWidget* parent) {}
};

#pragma GCC visibility pop
