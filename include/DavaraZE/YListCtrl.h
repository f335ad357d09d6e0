// A list of rows with columns and a number of caller data per row, with optional Up, Down and
// Delete buttons that act on the selected rows. The class holds the rows and the selection;
// the back end draws them and enables the buttons by CanMoveUp, CanMoveDown and CanDelete.
// User-interface thread only.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#pragma GCC visibility push(default)

class QWidget;

class YListCtrl {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Inserts a row before index (at the end when index is beyond it); returns its index.
    std::size_t InsertItem(std::size_t index, const YUnicodeString& text, std::uintptr_t data = 0);
    bool DeleteItem(std::size_t index);
    void DeleteAllItems();
    std::size_t GetItemCount() const { return rows_.size(); }

    // Columns beyond a row's current ones are added empty.
    bool SetItemText(std::size_t index, std::size_t column, const YUnicodeString& text);
    YUnicodeString GetItemText(std::size_t index, std::size_t column) const;
    bool SetItemData(std::size_t index, std::uintptr_t data);
    std::uintptr_t GetItemData(std::size_t index) const;
    // The first row holding data, or npos.
    std::size_t FindItemData(std::uintptr_t data) const;

    void SetSelected(std::size_t index, bool selected = true);
    bool IsSelected(std::size_t index) const;
    std::vector<std::size_t> GetSelectedItems() const;

    // Binds the buttons (any may be null) that the back end enables and wires to the calls
    // below.
    void InitAssociatedButtons(QWidget* upButton, QWidget* downButton, QWidget* deleteButton);
    QWidget* GetUpButton() const { return upButton_; }
    QWidget* GetDownButton() const { return downButton_; }
    QWidget* GetDeleteButton() const { return deleteButton_; }

    // Moves every selected row one place up or down, keeping them selected; false when there
    // is nothing to move or no room.
    bool DoMoveSelected(bool up);
    // Deletes the selected rows and selects the row that took the first one's place.
    bool DoDelete();

    bool CanMoveUp() const;
    bool CanMoveDown() const;
    bool CanDelete() const { return !GetSelectedItems().empty(); }

private:
    struct Row {
        YStringArray columns;
        std::uintptr_t data = 0;
        bool selected = false;
    };

    std::vector<Row> rows_;
    QWidget* upButton_ = nullptr;
    QWidget* downButton_ = nullptr;
    QWidget* deleteButton_ = nullptr;
};

#pragma GCC visibility pop
