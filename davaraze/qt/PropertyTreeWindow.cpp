#include "davaraze/qt/PropertyTreeWindow.h"

#include "davaraze/qt/DialogWindow.h"
#include "davaraze/qt/MessageBoxWindow.h"
#include "davaraze/qt/QtText.h"

#include <DavaraZE/YPropertyTree.h>
#include <DavaraZE/YQtUserInterface.h>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <vector>

namespace davaraze::qt {
namespace {

class PropertyTreeWindow : public DialogWindow {
public:
    explicit PropertyTreeWindow(YPropertyTreeDialog& dialog)
        : DialogWindow(dialog, dialog.GetParent()), dialog_(dialog) {
        setObjectName(QStringLiteral("propertyTree"));
        setWindowTitle(YToQString(dialog.GetTitle()));
        tree_ = new QTreeWidget(this);
        tree_->setObjectName(QStringLiteral("pages"));
        tree_->header()->hide();
        tree_->setColumnCount(1);
        tree_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        pageArea_ = new QStackedWidget(this);
        pageArea_->setObjectName(QStringLiteral("pageArea"));
        auto* buttons = new QDialogButtonBox(this);
        ok_ = buttons->addButton(ButtonText(YID_OK), QDialogButtonBox::AcceptRole);
        ok_->setObjectName(ButtonObjectName(YID_OK));
        ok_->setDefault(true);
        QPushButton* cancel =
            buttons->addButton(ButtonText(YID_CANCEL), QDialogButtonBox::RejectRole);
        cancel->setObjectName(ButtonObjectName(YID_CANCEL));

        auto* body = new QHBoxLayout;
        body->addWidget(tree_, 0);
        body->addWidget(pageArea_, 1);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(body, 1);
        layout->addWidget(buttons);

        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(tree_, &QTreeWidget::currentItemChanged, this,
                [this](QTreeWidgetItem* item, QTreeWidgetItem*) { OnTreeSelection(item); });
        connect(tree_, &QTreeWidget::itemExpanded, this,
                [this](QTreeWidgetItem* item) { KeepExpanded(item, true); });
        connect(tree_, &QTreeWidget::itemCollapsed, this,
                [this](QTreeWidgetItem* item) { KeepExpanded(item, false); });
        // Pages show and hide one another (a protocol chosen on one page brings its own pages);
        // the tree follows, as does the OK button when a page disables it.
        connect(&follow_, &QTimer::timeout, this, [this] { Follow(); });
    }

    // Once the dialog has initialised (it may add, show or hide pages then): the tree, and the
    // page to open with.
    void Start() {
        BuildTree();
        YPropertyTreePage* initial = dialog_.GetInitialPage();
        if (initial != nullptr && dialog_.SetActivePage(initial)) {
            ShowActive();
        }
        FitTreeWidth();
        follow_.start(30);
    }

    void accept() override {
        DialogWindow::accept();
        // A refusing page became the active one: show it.
        ShowActive();
    }

private:
    void BuildTree() {
        const QSignalBlocker blocker(tree_);
        tree_->clear();
        itemOf_.clear();
        pageOf_.clear();
        drawn_ = dialog_.GetShownPages();
        for (YPropertyTreePage* page : drawn_) {
            QTreeWidgetItem* item = nullptr;
            const auto parent = page->GetParentPage() != nullptr
                                    ? itemOf_.find(page->GetParentPage())
                                    : itemOf_.end();
            if (parent != itemOf_.end()) {
                item = new QTreeWidgetItem(parent->second);
            } else {
                item = new QTreeWidgetItem(tree_);
            }
            item->setText(0, YToQString(page->GetName()));
            itemOf_[page] = item;
            pageOf_[item] = page;
            WidgetOf(page);
        }
        for (const auto& [page, item] : itemOf_) {
            const YPropertyPageStateMap* state = dialog_.GetPageStateMap();
            item->setExpanded(state == nullptr || state->IsExpanded(page->GetPath()));
        }
        FitTreeWidth();
        ShowActive();
    }

    // The tree is as wide as its longest page name at its depth, so no name is cut off.
    void FitTreeWidth() {
        int widest = 0;
        for (const auto& [page, item] : itemOf_) {
            int depth = 0;
            for (const QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent()) {
                ++depth;
            }
            widest = std::max(widest, tree_->fontMetrics().horizontalAdvance(item->text(0)) +
                                          (depth + 1) * tree_->indentation());
        }
        tree_->setMinimumWidth(widest + 2 * tree_->frameWidth() +
                               tree_->fontMetrics().averageCharWidth() * 2);
    }

    QWidget* WidgetOf(YPropertyTreePage* page) {
        const auto found = widgetOf_.find(page);
        if (found != widgetOf_.end()) {
            return found->second;
        }
        QWidget* widget = page->CreatePageWidget(pageArea_);
        if (widget == nullptr) {
            if (const YPageFormBuilder builder = YFindPageForm(page->GetTemplateId())) {
                widget = builder(*page, pageArea_);
            }
        }
        if (widget == nullptr) {
            widget = new QWidget(pageArea_);
        }
        widget->setObjectName(YToQString(page->GetPath()));
        pageArea_->addWidget(widget);
        widgetOf_[page] = widget;
        page->OnInitDialog();
        return widget;
    }

    void OnTreeSelection(QTreeWidgetItem* item) {
        const auto found = pageOf_.find(item);
        if (found != pageOf_.end()) {
            (void)dialog_.SetActivePage(found->second);
        }
        // Refused or not: the tree shows the page that is active.
        ShowActive();
    }

    void ShowActive() {
        YPropertyTreePage* active = dialog_.GetActivePage();
        const auto item = itemOf_.find(active);
        if (item == itemOf_.end()) {
            return;
        }
        pageArea_->setCurrentWidget(WidgetOf(active));
        const QSignalBlocker blocker(tree_);
        tree_->setCurrentItem(item->second);
    }

    void KeepExpanded(QTreeWidgetItem* item, bool expanded) {
        const auto found = pageOf_.find(item);
        YPropertyPageStateMap* state = dialog_.GetPageStateMap();
        if (found != pageOf_.end() && state != nullptr) {
            state->SetExpanded(found->second->GetPath(), expanded);
        }
    }

    void Follow() {
        ok_->setEnabled(!dialog_.IsOkButtonDisabled());
        if (dialog_.GetShownPages() != drawn_) {
            BuildTree();
            if (dialog_.GetActivePage() == nullptr) {
                YPropertyTreePage* initial = dialog_.GetInitialPage();
                if (initial != nullptr && dialog_.SetActivePage(initial)) {
                    ShowActive();
                }
            }
        }
    }

    YPropertyTreeDialog& dialog_;
    QTreeWidget* tree_ = nullptr;
    QStackedWidget* pageArea_ = nullptr;
    QPushButton* ok_ = nullptr;
    QTimer follow_;
    std::vector<YPropertyTreePage*> drawn_;
    std::map<YPropertyTreePage*, QTreeWidgetItem*> itemOf_;
    std::map<QTreeWidgetItem*, YPropertyTreePage*> pageOf_;
    std::map<YPropertyTreePage*, QWidget*> widgetOf_;
};

}  // namespace

int RunQtPropertyTree(YPropertyTreeDialog& dialog) {
    PropertyTreeWindow window(dialog);
    if (!dialog.OnInitDialog()) {
        return YID_CANCEL;
    }
    window.Start();
    return window.Run();
}

}  // namespace davaraze::qt
