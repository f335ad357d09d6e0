#include <DavaraZE/YListCtrl.h>

#include <algorithm>

std::size_t YListCtrl::InsertItem(std::size_t index, const YUnicodeString& text,
                                  std::uintptr_t data) {
    index = std::min(index, rows_.size());
    Row row;
    row.columns.push_back(text);
    row.data = data;
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index), std::move(row));
    return index;
}

bool YListCtrl::DeleteItem(std::size_t index) {
    if (index >= rows_.size()) {
        return false;
    }
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void YListCtrl::DeleteAllItems() {
    rows_.clear();
}

bool YListCtrl::SetItemText(std::size_t index, std::size_t column, const YUnicodeString& text) {
    if (index >= rows_.size()) {
        return false;
    }
    YStringArray& columns = rows_[index].columns;
    if (column >= columns.size()) {
        columns.resize(column + 1);
    }
    columns[column] = text;
    return true;
}

YUnicodeString YListCtrl::GetItemText(std::size_t index, std::size_t column) const {
    if (index >= rows_.size() || column >= rows_[index].columns.size()) {
        return {};
    }
    return rows_[index].columns[column];
}

bool YListCtrl::SetItemData(std::size_t index, std::uintptr_t data) {
    if (index >= rows_.size()) {
        return false;
    }
    rows_[index].data = data;
    return true;
}

std::uintptr_t YListCtrl::GetItemData(std::size_t index) const {
    return index < rows_.size() ? rows_[index].data : 0;
}

std::size_t YListCtrl::FindItemData(std::uintptr_t data) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].data == data) {
            return i;
        }
    }
    return npos;
}

void YListCtrl::SetSelected(std::size_t index, bool selected) {
    if (index < rows_.size()) {
        rows_[index].selected = selected;
    }
}

bool YListCtrl::IsSelected(std::size_t index) const {
    return index < rows_.size() && rows_[index].selected;
}

std::vector<std::size_t> YListCtrl::GetSelectedItems() const {
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].selected) {
            selected.push_back(i);
        }
    }
    return selected;
}

void YListCtrl::InitAssociatedButtons(QWidget* upButton, QWidget* downButton,
                                      QWidget* deleteButton) {
    upButton_ = upButton;
    downButton_ = downButton;
    deleteButton_ = deleteButton;
}

bool YListCtrl::CanMoveUp() const {
    return !rows_.empty() && !rows_.front().selected && CanDelete();
}

bool YListCtrl::CanMoveDown() const {
    return !rows_.empty() && !rows_.back().selected && CanDelete();
}

bool YListCtrl::DoMoveSelected(bool up) {
    if (up ? !CanMoveUp() : !CanMoveDown()) {
        return false;
    }
    // Each selected row swaps with its unselected neighbour; walking towards the move keeps a
    // block of selected rows together.
    if (up) {
        for (std::size_t i = 1; i < rows_.size(); ++i) {
            if (rows_[i].selected && !rows_[i - 1].selected) {
                std::swap(rows_[i], rows_[i - 1]);
            }
        }
    } else {
        for (std::size_t i = rows_.size() - 1; i > 0; --i) {
            if (rows_[i - 1].selected && !rows_[i].selected) {
                std::swap(rows_[i], rows_[i - 1]);
            }
        }
    }
    return true;
}

bool YListCtrl::DoDelete() {
    const std::vector<std::size_t> selected = GetSelectedItems();
    if (selected.empty()) {
        return false;
    }
    std::erase_if(rows_, [](const Row& row) { return row.selected; });
    if (!rows_.empty()) {
        rows_[std::min(selected.front(), rows_.size() - 1)].selected = true;
    }
    return true;
}
