#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YPropertyTree.h>

#include <algorithm>

void YPropertyPageStateMap::SetExpanded(const YUnicodeString& pagePath, bool expanded) {
    if (expanded) {
        expanded_.erase(pagePath);
    } else {
        expanded_[pagePath] = false;
    }
}

bool YPropertyPageStateMap::IsExpanded(const YUnicodeString& pagePath) const {
    return expanded_.find(pagePath) == expanded_.end();
}

void YPropertyPageStateMap::Clear() {
    lastPage_.clear();
    expanded_.clear();
}

YPropertyTreePage::YPropertyTreePage(unsigned templateId, const YUnicodeString& name)
    : templateId_(templateId), name_(name) {}

void YPropertyTreePage::AddPage(YPropertyTreePage* child) {
    if (child == nullptr || child == this) {
        return;
    }
    child->parent_ = this;
    children_.push_back(child);
}

YUnicodeString YPropertyTreePage::GetPath() const {
    if (parent_ == nullptr) {
        return name_;
    }
    return parent_->GetPath() + u'\\' + name_;
}

YPropertyTreeDialog* YPropertyTreePage::GetDialog() const {
    const YPropertyTreePage* root = this;
    while (root->parent_ != nullptr) {
        root = root->parent_;
    }
    return root->dialog_;
}

void YPropertyTreePage::SetModified(bool modified) {
    if (YPropertyTreeDialog* dialog = GetDialog()) {
        dialog->SetModified(modified);
    }
}

namespace {

void CollectShown(const std::vector<YPropertyTreePage*>& pages,
                  std::vector<YPropertyTreePage*>& shown) {
    for (YPropertyTreePage* page : pages) {
        if (!page->IsHidden()) {
            shown.push_back(page);
            CollectShown(page->GetChildren(), shown);
        }
    }
}

}  // namespace

YPropertyTreeDialog::YPropertyTreeDialog(const YUnicodeString& title, unsigned style,
                                         YPropertyPageStateMap* stateMap, QWidget* parent)
    : YDialog(0, nullptr, parent), title_(title), style_(style), stateMap_(stateMap) {}

void YPropertyTreeDialog::AddPage(YPropertyTreePage* page) {
    if (page == nullptr) {
        return;
    }
    page->parent_ = nullptr;
    page->dialog_ = this;
    roots_.push_back(page);
}

void YPropertyTreeDialog::RemovePage(YPropertyTreePage* page) {
    if (page == nullptr || !Contains(page)) {
        return;
    }
    if (active_ != nullptr) {
        for (const YPropertyTreePage* p = active_; p != nullptr; p = p->parent_) {
            if (p == page) {
                active_ = nullptr;
                break;
            }
        }
    }
    std::vector<YPropertyTreePage*>& siblings =
        page->parent_ != nullptr ? page->parent_->children_ : roots_;
    std::erase(siblings, page);
    page->parent_ = nullptr;
    page->dialog_ = nullptr;
}

void YPropertyTreeDialog::ShowPage(YPropertyTreePage* page) {
    if (page != nullptr && page->hidden_) {
        page->hidden_ = false;
        page->OnShow(true);
    }
}

void YPropertyTreeDialog::HidePage(YPropertyTreePage* page) {
    if (page == nullptr || page->hidden_) {
        return;
    }
    page->hidden_ = true;
    page->OnShow(false);
    if (active_ != nullptr && !IsShown(active_)) {
        active_ = nullptr;
    }
}

bool YPropertyTreeDialog::SetActivePage(YPropertyTreePage* page) {
    if (page == nullptr || !IsShown(page)) {
        return false;
    }
    if (page == active_) {
        return true;
    }
    if (active_ != nullptr && !active_->OnKillActive()) {
        return false;
    }
    if (!page->OnSetActive()) {
        return false;
    }
    active_ = page;
    if (stateMap_ != nullptr) {
        stateMap_->SetLastPage(page->GetPath());
    }
    return true;
}

YPropertyTreePage* YPropertyTreeDialog::GetInitialPage() const {
    const std::vector<YPropertyTreePage*> shown = GetShownPages();
    if (shown.empty()) {
        return nullptr;
    }
    if (stateMap_ != nullptr && !stateMap_->GetLastPage().empty()) {
        for (YPropertyTreePage* page : shown) {
            if (rivode::EqualsNoCase(page->GetPath(), stateMap_->GetLastPage())) {
                return page;
            }
        }
    }
    return shown.front();
}

std::vector<YPropertyTreePage*> YPropertyTreeDialog::GetShownPages() const {
    std::vector<YPropertyTreePage*> shown;
    CollectShown(roots_, shown);
    return shown;
}

bool YPropertyTreeDialog::DoOnOK() {
    if (active_ != nullptr && !active_->OnKillActive()) {
        return false;
    }
    for (YPropertyTreePage* page : GetShownPages()) {
        if (!page->OnOK()) {
            // Show the user the page that refused; it has not let go, so no OnKillActive.
            active_ = page;
            if (stateMap_ != nullptr) {
                stateMap_->SetLastPage(page->GetPath());
            }
            return false;
        }
    }
    return true;
}

void YPropertyTreeDialog::DoOnCancel() {
    for (YPropertyTreePage* page : GetShownPages()) {
        page->OnCancel();
    }
}

void YPropertyTreeDialog::OnOK() {
    if (okDisabled_ || !DoOnOK()) {
        return;
    }
    EndDialog(YID_OK);
}

void YPropertyTreeDialog::OnCancel() {
    DoOnCancel();
    EndDialog(YID_CANCEL);
}

bool YPropertyTreeDialog::Contains(const YPropertyTreePage* page) const {
    const YPropertyTreePage* root = page;
    while (root->parent_ != nullptr) {
        root = root->parent_;
    }
    return root->dialog_ == this;
}

bool YPropertyTreeDialog::IsShown(const YPropertyTreePage* page) const {
    if (!Contains(page)) {
        return false;
    }
    for (const YPropertyTreePage* p = page; p != nullptr; p = p->parent_) {
        if (p->hidden_) {
            return false;
        }
    }
    return true;
}
