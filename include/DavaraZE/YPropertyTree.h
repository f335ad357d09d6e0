// Property-tree dialogs: a tree of pages on the left, the selected page on the right, OK and
// Cancel below. The classes hold the tree's logic; the back end draws it.
//
// Pages are owned by the caller (usually members of the derived dialog) and must outlive their
// dialog's use of them. User-interface thread only.
#pragma once

#include <DavaraZE/YDialog.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <map>
#include <vector>

#pragma GCC visibility push(default)

class YPropertyTreeDialog;

// Remembers, between runs of a dialog, the page last shown (by its path of page names,
// "Connection\Logon Actions") and which pages the user collapsed. One map is shared by all
// instances of a dialog, for the life of the process.
class YPropertyPageStateMap {
public:
    void SetLastPage(const YUnicodeString& pagePath) { lastPage_ = pagePath; }
    const YUnicodeString& GetLastPage() const { return lastPage_; }

    // Pages are expanded unless the user collapsed them.
    void SetExpanded(const YUnicodeString& pagePath, bool expanded);
    bool IsExpanded(const YUnicodeString& pagePath) const;

    void Clear();

private:
    YUnicodeString lastPage_;
    std::map<YUnicodeString, bool, rivode::LessNoCase> expanded_;
};

class YPropertyTreePage {
public:
    explicit YPropertyTreePage(unsigned templateId, const YUnicodeString& name = {});
    virtual ~YPropertyTreePage() = default;
    YPropertyTreePage(const YPropertyTreePage&) = delete;
    YPropertyTreePage& operator=(const YPropertyTreePage&) = delete;

    // Adds a child page below this one (not owned).
    void AddPage(YPropertyTreePage* child);

    unsigned GetTemplateId() const { return templateId_; }
    const YUnicodeString& GetName() const { return name_; }
    void SetName(const YUnicodeString& name) { name_ = name; }
    // The names from the root page down to this one, joined with '\'.
    YUnicodeString GetPath() const;
    YPropertyTreePage* GetParentPage() const { return parent_; }
    const std::vector<YPropertyTreePage*>& GetChildren() const { return children_; }
    YPropertyTreeDialog* GetDialog() const;
    // Hidden pages (and their children) are not in the tree and are not asked on OK.
    bool IsHidden() const { return hidden_; }
    // Marks the page's dialog as changed.
    void SetModified(bool modified = true);

    // Hooks. OnKillActive validates before another page is shown (false keeps this page);
    // OnOK validates and stores on OK (false refuses OK).
    virtual bool OnInitDialog() { return true; }
    virtual bool OnSetActive() { return true; }
    virtual bool OnKillActive() { return true; }
    virtual bool OnOK() { return true; }
    virtual void OnCancel() {}
    virtual void OnShow(bool shown) {}
    virtual void Refresh() {}
    virtual void PreModal() {}
    // The page's contents in a window back end (built by the page's own form); null here.
    virtual QWidget* CreatePageWidget(QWidget* parent) { return nullptr; }

private:
    friend class YPropertyTreeDialog;

    unsigned templateId_;
    YUnicodeString name_;
    YPropertyTreePage* parent_ = nullptr;
    YPropertyTreeDialog* dialog_ = nullptr;
    std::vector<YPropertyTreePage*> children_;
    bool hidden_ = false;
};

class YPropertyTreeDialog : public YDialog {
public:
    // stateMap may be null (nothing remembered); it is not owned.
    YPropertyTreeDialog(const YUnicodeString& title, unsigned style,
                        YPropertyPageStateMap* stateMap, QWidget* parent = nullptr);

    // Adds a root page (not owned).
    void AddPage(YPropertyTreePage* page);
    // Takes a page and its children out of the tree, wherever it is.
    void RemovePage(YPropertyTreePage* page);
    void ShowPage(YPropertyTreePage* page);
    void HidePage(YPropertyTreePage* page);

    // Moves to page: the current page must let go (OnKillActive), then page becomes current
    // (OnSetActive) and is remembered in the state map. False when either refuses or page is
    // not shown in this tree.
    bool SetActivePage(YPropertyTreePage* page);
    YPropertyTreePage* GetActivePage() const { return active_; }
    // The page to open with: the state map's last page while it is still shown, else the first
    // shown page.
    YPropertyTreePage* GetInitialPage() const;
    // Shown pages in tree order (parents before children).
    std::vector<YPropertyTreePage*> GetShownPages() const;
    const std::vector<YPropertyTreePage*>& GetRootPages() const { return roots_; }

    // OK: the current page validates (OnKillActive), then every shown page validates and
    // stores (OnOK) in tree order; the first refusal stops, becomes the current page and gives
    // false.
    bool DoOnOK();
    // Cancel: every shown page hears OnCancel.
    void DoOnCancel();

    void OnOK() override;
    void OnCancel() override;

    void SetModified(bool modified = true) { modified_ = modified; }
    bool IsModified() const { return modified_; }
    void SetClearSelected(bool clear) { clearSelected_ = clear; }
    bool GetClearSelected() const { return clearSelected_; }
    void SetNewSession(bool newSession) { newSession_ = newSession; }
    bool IsNewSession() const { return newSession_; }
    void DisableOkButton(bool disable = true) { okDisabled_ = disable; }
    bool IsOkButtonDisabled() const { return okDisabled_; }
    YPropertyPageStateMap* GetPageStateMap() const { return stateMap_; }
    const YUnicodeString& GetTitle() const { return title_; }
    unsigned GetStyle() const { return style_; }

private:
    bool Contains(const YPropertyTreePage* page) const;
    bool IsShown(const YPropertyTreePage* page) const;

    YUnicodeString title_;
    unsigned style_;
    YPropertyPageStateMap* stateMap_;
    std::vector<YPropertyTreePage*> roots_;
    YPropertyTreePage* active_ = nullptr;
    bool modified_ = false;
    bool clearSelected_ = false;
    bool newSession_ = false;
    bool okDisabled_ = false;
};

// A panel embedded in a page (a protocol module's part of a page).
class YPluginDialog : public YDialog {
public:
    using YDialog::YDialog;
    // Writes the panel's values back; false when they are not valid.
    virtual bool SavePageData() { return true; }
    virtual bool OnSetActive() { return true; }
    virtual bool OnKillActive() { return true; }
};

#pragma GCC visibility pop
