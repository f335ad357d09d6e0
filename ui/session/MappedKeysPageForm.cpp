// The Mapped Keys page: the session's mappings in a list sorted by any column, the buttons that
// map, edit and delete them, and the session's keyboard options.
#include "ui/session/PageForm.h"
#include "ui/session/PageForms.h"

#include <RivodeRavudaVU/KeyMappingEditor.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace rivode::ui {

namespace {

// The page's row an item shows; items keep it through sorting.
constexpr int kRowRole = Qt::UserRole;

class MappedKeysList {
public:
    MappedKeysList(SessionMappedKeysPage& page, QTreeWidget* list) : page_(page), list_(list) {}

    void Fill(int selected) {
        list_->setSortingEnabled(false);
        list_->clear();
        for (std::size_t i = 0; i < page_.rows.size(); ++i) {
            const SessionMappedKeysPage::Row& row = page_.rows[i];
            // A send string on several lines shows them all: the row grows.
            auto* item = new QTreeWidgetItem(
                list_, QStringList{ToQ(row.combination), ToQ(row.function), ToQ(row.argument)});
            item->setData(0, kRowRole, static_cast<int>(i));
            // The columns share the width equally; a long combination is read in full here.
            for (int column = 0; column < item->columnCount(); ++column) {
                item->setToolTip(column, item->text(column));
            }
            if (static_cast<int>(i) == selected) {
                list_->setCurrentItem(item);
            }
        }
        list_->setSortingEnabled(true);
        if (QTreeWidgetItem* current = list_->currentItem()) {
            list_->scrollToItem(current);
        }
    }

    int Selected() const {
        const QList<QTreeWidgetItem*> items = list_->selectedItems();
        return items.size() == 1 ? items.front()->data(0, kRowRole).toInt() : -1;
    }

    void MapKey() { Refill(page_.MapKey(list_->window())); }
    void Edit() {
        if (Selected() >= 0) {
            Refill(page_.Edit(Selected(), list_->window()));
        }
    }
    void Delete() {
        if (Selected() >= 0) {
            Fill(page_.Delete(Selected()));
        }
    }

private:
    // -1: nothing changed, the list stays as it is.
    void Refill(int selected) {
        if (selected >= 0) {
            Fill(selected);
        }
    }

    SessionMappedKeysPage& page_;
    QTreeWidget* list_;
};

}  // namespace

QWidget* BuildMappedKeysPage(YPropertyTreePage& base, QWidget* parent) {
    auto& page = static_cast<SessionMappedKeysPage&>(base);
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);

    auto* list = new QTreeWidget;
    MarkField(list, SessionMappedKeysPage::kListField);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList titles;
    for (const YUnicodeString& title : SessionMappedKeysPage::GetColumnTitles()) {
        titles << ToQ(title);
    }
    list->setHeaderLabels(titles);
    list->header()->setSectionResizeMode(QHeaderView::Stretch);
    list->header()->setSortIndicatorShown(true);
    list->sortByColumn(-1, Qt::AscendingOrder);  // the stored order until a header is clicked
    auto* rows = new MappedKeysList(page, list);
    QObject::connect(list, &QObject::destroyed, [rows] { delete rows; });
    rows->Fill(page.rows.empty() ? -1 : 0);
    layout->addWidget(list, 1);

    auto* map = new QPushButton(MessageText(msg::MapAKeyButton));
    auto* edit = new QPushButton(MessageText(msg::ListEditButton));
    auto* remove = new QPushButton(MessageText(msg::ListDeleteButton));
    QObject::connect(map, &QPushButton::clicked, list, [rows] { rows->MapKey(); });
    QObject::connect(edit, &QPushButton::clicked, list, [rows] { rows->Edit(); });
    QObject::connect(list, &QTreeWidget::itemDoubleClicked, list, [rows] { rows->Edit(); });
    QObject::connect(remove, &QPushButton::clicked, list, [rows] { rows->Delete(); });
    const auto enable = [rows, edit, remove] {
        const bool one = rows->Selected() >= 0;
        edit->setEnabled(one);
        remove->setEnabled(one);
    };
    enable();
    QObject::connect(list, &QTreeWidget::itemSelectionChanged, list, enable);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(map);
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addStretch();
    layout->addLayout(buttons);

    auto* options = new QGroupBox(MessageText(msg::KeyboardOptionsGroup));
    auto* optionsLayout = new QVBoxLayout(options);
    QCheckBox* backspace =
        BoundCheck(MessageText(msg::BackspaceSendsDeleteLabel), page.mapBackspace);
    QCheckBox* del = BoundCheck(MessageText(msg::DeleteSendsBackspaceLabel), page.mapDelete);
    backspace->setObjectName(QStringLiteral("mapBackspace"));
    del->setObjectName(QStringLiteral("mapDelete"));
    // The emulation may change on the Emulation page while this page is built.
    FollowPageRefresh(page, widget, [&page, backspace, del] {
        backspace->setEnabled(page.AreBackspaceDeleteOptionsEnabled());
        del->setEnabled(page.AreBackspaceDeleteOptionsEnabled());
    });
    auto* cua = new QCheckBox(MessageText(msg::CuaCopyPasteLabel));
    cua->setChecked(page.cuaCopyPaste);
    QObject::connect(cua, &QCheckBox::toggled, cua,
                     [&page, cua](bool on) { page.OnCuaCopyPasteChanged(on, cua->window()); });
    optionsLayout->addWidget(backspace);
    optionsLayout->addWidget(del);
    optionsLayout->addWidget(cua);
    layout->addWidget(options);
    return widget;
}

}  // namespace rivode::ui
