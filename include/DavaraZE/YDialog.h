// The dialog base of the options user interface. A dialog class here holds the logic; the
// window is made by the user-interface back end (the Qt half binds each template id to its
// form). Dialogs live on the host's user-interface thread.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

class QWidget;

class YDialog {
public:
    // templateId names the dialog's form; resourceModule the module whose forms and texts it
    // uses (nullptr: this library's own); parent the window it belongs to.
    YDialog(unsigned templateId, const void* resourceModule = nullptr, QWidget* parent = nullptr);
    virtual ~YDialog();
    YDialog(const YDialog&) = delete;
    YDialog& operator=(const YDialog&) = delete;

    // Runs the dialog modally through the user-interface back end and returns how it ended
    // (YID_OK, YID_CANCEL, or what EndDialog was given). Back ends without windows return
    // YID_CANCEL without showing anything.
    virtual int DoModal();
    // Shows the dialog without waiting; false when the back end cannot show windows.
    virtual bool Create(QWidget* parent = nullptr);
    // Ends a modal run with result.
    void EndDialog(int result);

    // Hooks the window calls. OnOK and OnCancel end the dialog unless overridden.
    virtual bool OnInitDialog() { return true; }
    virtual void PreModal() {}
    virtual void OnOK();
    virtual void OnCancel();

    // The dialog resizes with its window; the window's placement is remembered under
    // placementName (the back end stores it between runs).
    void EnableDynamicLayout(const YUnicodeString& placementName) {
        placementName_ = placementName;
    }
    const YUnicodeString& GetPlacementName() const { return placementName_; }

    unsigned GetTemplateId() const { return templateId_; }
    const void* GetResourceModule() const { return resourceModule_; }
    QWidget* GetParent() const { return parent_; }
    // The window the back end made, while it exists.
    QWidget* GetWindow() const { return window_; }
    void SetWindow(QWidget* window) { window_ = window; }
    // EndDialog's result, 0 while the dialog runs.
    int GetResult() const { return result_; }
    bool IsEnded() const { return ended_; }

private:
    unsigned templateId_;
    const void* resourceModule_;
    QWidget* parent_;
    QWidget* window_ = nullptr;
    YUnicodeString placementName_;
    int result_ = 0;
    bool ended_ = false;
};

#pragma GCC visibility pop
