#include "SessionsWindow.h"

#include "GuiHostSetup.h"
#include "SessionNameDialogs.h"
#include "SessionOptionsCommand.h"

#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YQtText.h>
#include <DavaraZE/YQtUserInterface.h>
#include <RivodeRavudaVU/EditDefaultSession.h>
#include <RivodeRavudaVU/ProfileFolderData.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace rivode::ui {
namespace {

// Room for this many average characters across and entries down before the user resizes.
constexpr int kWidthInCharacters = 40;
constexpr int kHeightInEntries = 20;

// The window's placement is kept under this name, as dialogs keep theirs.
constexpr std::u16string_view kPlacementName = u"rivode-gui Sessions";

QString Message(std::uint32_t id) {
    return YToQString(LoadMessageString(id));
}

YUnicodeString PathOf(const QTreeWidgetItem& item) {
    return YFromQString(item.data(0, SessionsWindow::kPathRole).toString());
}

bool IsFolder(const QTreeWidgetItem& item) {
    return item.data(0, SessionsWindow::kIsFolderRole).toBool();
}

// The top folder's "Default" is the template of new sessions, edited by its own editor and
// never renamed or deleted.
bool IsDefaultSession(const QTreeWidgetItem& item) {
    return !IsFolder(item) && PathOf(item) == kDefaultSessionName;
}

YUnicodeString Join(const YUnicodeString& folder, const YUnicodeString& name) {
    return folder.empty() ? name : folder + u'\\' + name;
}

YUnicodeString FolderOf(const YUnicodeString& path) {
    const std::size_t separator = path.rfind(u'\\');
    return separator == YUnicodeString::npos ? YUnicodeString() : path.substr(0, separator);
}

QPushButton* AddButton(QHBoxLayout& row, std::uint32_t text, const char* name) {
    auto* button = new QPushButton(Message(text));
    button->setObjectName(QString::fromLatin1(name));
    row.addWidget(button);
    return button;
}

// A command the keyboard reaches from anywhere in the window, beside its button.
void AddShortcut(QWidget& window, const QKeySequence& keys, const std::function<void()>& run) {
    auto* action = new QAction(&window);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window, run);
    window.addAction(action);
}

}  // namespace

SessionsWindow::SessionsWindow(SessionDatabaseImpl& sessions, GlobalConfig* global,
                               const QString& configFolder, QWidget* parent)
    : QWidget(parent), sessions_(sessions), global_(global) {
    setObjectName(QStringLiteral("sessions"));
    YReportMessageParams title(rivode::msg::GuiSessionsTitle);
    title.AddString(YFromQString(configFolder));
    setWindowTitle(QString::fromUtf16(title.GetTextTrimmed()));
    // One icon of each kind for every entry: a style lookup for each of thousands of entries
    // would cost more than the listing.
    folderIcon_ = style()->standardIcon(QStyle::SP_DirIcon);
    sessionIcon_ = style()->standardIcon(QStyle::SP_FileIcon);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("sessionTree"));
    tree_->header()->hide();
    tree_->setColumnCount(1);
    tree_->setUniformRowHeights(true);
    // Enter and a double-click (or the platform's single click) activate an entry.
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (IsFolder(*item)) {
            return;  // the tree itself opens and closes folders
        }
        OpenSelected();
    });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });

    auto* buttons = new QHBoxLayout;
    open_ = AddButton(*buttons, msg::GuiSessionsOpen, "open");
    QPushButton* add = AddButton(*buttons, msg::GuiSessionsNew, "new");
    rename_ = AddButton(*buttons, msg::GuiSessionsRename, "rename");
    delete_ = AddButton(*buttons, msg::GuiSessionsDelete, "delete");
    buttons->addStretch();
    connect(open_, &QPushButton::clicked, this, &SessionsWindow::OpenSelected);
    connect(add, &QPushButton::clicked, this, &SessionsWindow::NewSession);
    connect(rename_, &QPushButton::clicked, this, &SessionsWindow::RenameSelected);
    connect(delete_, &QPushButton::clicked, this, &SessionsWindow::DeleteSelected);
    AddShortcut(*this, QKeySequence::New, [this] { NewSession(); });
    AddShortcut(*this, QKeySequence(Qt::Key_F2), [this] { RenameSelected(); });
    AddShortcut(*this, QKeySequence::Delete, [this] { DeleteSelected(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addLayout(buttons);
    Reload();
    const QFontMetrics metrics = tree_->fontMetrics();
    resize(metrics.averageCharWidth() * kWidthInCharacters, metrics.height() * kHeightInEntries);
    std::string placement;
    if (YGetWindowPlacementStore()->LoadPlacement(YUnicodeString(kPlacementName), placement)) {
        (void)restoreGeometry(
            QByteArray(placement.data(), static_cast<qsizetype>(placement.size())));
    }
}

void SessionsWindow::closeEvent(QCloseEvent* event) {
    const QByteArray placement = saveGeometry();
    YGetWindowPlacementStore()->SavePlacement(
        YUnicodeString(kPlacementName),
        std::string(placement.constData(), static_cast<std::size_t>(placement.size())));
    QWidget::closeEvent(event);
}

void SessionsWindow::Reload() {
    // Items are made without the view following each one, then shown once.
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    AddFolder({}, nullptr);
    tree_->expandAll();
    tree_->setUpdatesEnabled(true);
    if (tree_->topLevelItemCount() > 0) {
        tree_->setCurrentItem(tree_->topLevelItem(0));
    }
    UpdateButtons();
}

QTreeWidgetItem* SessionsWindow::AddItem(QTreeWidgetItem* parent, int index,
                                         const YUnicodeString& name, const YUnicodeString& path,
                                         bool isFolder) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, YToQString(name));
    item->setData(0, kPathRole, YToQString(path));
    item->setData(0, kIsFolderRole, isFolder);
    item->setIcon(0, isFolder ? folderIcon_ : sessionIcon_);
    if (parent != nullptr) {
        parent->insertChild(index < 0 ? parent->childCount() : index, item);
    } else {
        tree_->insertTopLevelItem(index < 0 ? tree_->topLevelItemCount() : index, item);
    }
    return item;
}

void SessionsWindow::AddFolder(const YUnicodeString& path, QTreeWidgetItem* parent) {
    ProfileFolderData listing;
    if (!sessions_.ListFolder(path, listing)) {
        return;  // removed since its parent was listed
    }
    for (const YUnicodeString& folder : listing.GetFolders()) {
        QTreeWidgetItem* item = AddItem(parent, -1, folder, Join(path, folder), true);
        AddFolder(Join(path, folder), item);
    }
    for (const YUnicodeString& session : listing.GetSessions()) {
        AddItem(parent, -1, session, Join(path, session), false);
    }
}

QTreeWidgetItem* SessionsWindow::FindItem(const YUnicodeString& path) const {
    const QString wanted = YToQString(path);
    for (QTreeWidgetItemIterator item(tree_); *item != nullptr; ++item) {
        if ((*item)->data(0, kPathRole).toString() == wanted) {
            return *item;
        }
    }
    return nullptr;
}

QTreeWidgetItem* SessionsWindow::Selected() const {
    return tree_->currentItem() != nullptr && tree_->currentItem()->isSelected()
               ? tree_->currentItem()
               : nullptr;
}

void SessionsWindow::UpdateButtons() {
    const QTreeWidgetItem* item = Selected();
    open_->setEnabled(item != nullptr && !IsFolder(*item));
    rename_->setEnabled(item != nullptr && !IsDefaultSession(*item));
    delete_->setEnabled(item != nullptr && !IsDefaultSession(*item));
}

void SessionsWindow::OpenSelected() {
    QTreeWidgetItem* item = Selected();
    if (item == nullptr || IsFolder(*item)) {
        return;
    }
    if (IsDefaultSession(*item)) {
        bool allUpdated = false;
        // The editor asks whether the changes go to every session, saves and shows failures.
        (void)EditDefaultSession(global_, 0, kGuiProduct, this, allUpdated);
        return;
    }
    YReportMessageParams report;
    const YRefPtr<ISessionConfig> session = sessions_.OpenSession(PathOf(*item), report);
    if (!session) {
        YMessageBox(this, report);
        return;
    }
    YUnicodeString savedPath;
    if (!EditStoredSession(global_, *session, this, savedPath, report) || savedPath.empty()) {
        return;  // a failed save was shown by the editor
    }
    // The Connection page may have renamed it.
    item->setText(0, YToQString(session->GetName()));
    item->setData(0, kPathRole, YToQString(savedPath));
}

void SessionsWindow::NewSession() {
    // A new session goes into the selected folder, or beside the selected session.
    const QTreeWidgetItem* selected = Selected();
    QTreeWidgetItem* parent = nullptr;
    if (selected != nullptr) {
        parent = IsFolder(*selected) ? const_cast<QTreeWidgetItem*>(selected) : selected->parent();
    }
    const YUnicodeString folder = parent != nullptr ? PathOf(*parent) : YUnicodeString();
    NewSessionNameDialog dialog(this, folder);
    if (dialog.DoModal() != YID_OK) {
        return;
    }
    // The new session starts as a copy of the default session, as every new session does.
    YReportMessageParams report;
    const YRefPtr<ISessionConfig> session =
        sessions_.OpenSession(YUnicodeString(kDefaultSessionName), report);
    if (!session) {
        YMessageBox(this, report);
        return;
    }
    const YUnicodeString path = Join(folder, dialog.GetSessionName());
    session->SetName(dialog.GetSessionName());
    session->SetPath(path);
    if (!sessions_.SaveSession(*session, true, report)) {
        YMessageBox(this, report);
        return;
    }
    // The database appends a new session to its folder's order, after every other entry.
    QTreeWidgetItem* item = AddItem(parent, -1, dialog.GetSessionName(), path, false);
    if (item != nullptr) {
        tree_->setCurrentItem(item);
        tree_->scrollToItem(item);
    }
}

void SessionsWindow::RenameSelected() {
    QTreeWidgetItem* item = Selected();
    if (item == nullptr || IsDefaultSession(*item)) {
        return;
    }
    const YUnicodeString path = PathOf(*item);
    RenameItemDialog dialog(this, path);
    if (dialog.DoModal() != YID_OK) {
        return;
    }
    YReportMessageParams report;
    if (!sessions_.RenameItem(path, dialog.GetSessionName(), report)) {
        YMessageBox(this, report);
        return;
    }
    item->setText(0, YToQString(dialog.GetSessionName()));
    SetPaths(item, Join(FolderOf(path), dialog.GetSessionName()));
}

void SessionsWindow::SetPaths(QTreeWidgetItem* item, const YUnicodeString& path) {
    item->setData(0, kPathRole, YToQString(path));
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        SetPaths(child, Join(path, YFromQString(child->text(0))));
    }
}

void SessionsWindow::DeleteSelected() {
    QTreeWidgetItem* item = Selected();
    if (item == nullptr || IsDefaultSession(*item)) {
        return;
    }
    const YUnicodeString path = PathOf(*item);
    YReportMessageParams question(IsFolder(*item) ? msg::GuiDeleteFolderQuestion
                                                  : msg::GuiDeleteSessionQuestion);
    question.AddString(path);
    if (YMessageBox(this, question.GetTextTrimmed(),
                    YMB_YESNO | YMB_ICONQUESTION | YMB_DEFBUTTON2) != YID_YES) {
        return;
    }
    YReportMessageParams report;
    if (!sessions_.DeleteItem(path, report)) {
        YMessageBox(this, report);
        return;
    }
    delete item;  // the tree selects the entry that took its place
    UpdateButtons();
}

}  // namespace rivode::ui
