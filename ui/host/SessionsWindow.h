// The sessions window: the session tree of the configuration in the user's order, folders
// before sessions in each folder, as the session lists of the products show it. Activating a
// session (double-click, Enter) opens its Session Options, which saves it on OK; New, Rename and
// Delete change the tree through the session database and the window follows without reading
// the whole tree again.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <QWidget>

class GlobalConfig;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class SessionDatabaseImpl;

namespace rivode::ui {

class SessionsWindow : public QWidget {
public:
    // sessions (and global, which may be null) must outlive the window. The title names the
    // configuration folder. The first entry starts selected.
    SessionsWindow(SessionDatabaseImpl& sessions, GlobalConfig* global, const QString& configFolder,
                   QWidget* parent = nullptr);

    // Reads the tree again from the session database.
    void Reload();

    // The commands of the buttons, on the selected entry.
    void OpenSelected();
    void NewSession();
    void RenameSelected();
    void DeleteSelected();

    // Item path of an entry ("Work\Jump"); the tree's items carry it for the commands.
    static constexpr int kPathRole = Qt::UserRole;
    static constexpr int kIsFolderRole = Qt::UserRole + 1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void AddFolder(const YUnicodeString& path, QTreeWidgetItem* parent);
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, int index, const YUnicodeString& name,
                             const YUnicodeString& path, bool isFolder);
    QTreeWidgetItem* FindItem(const YUnicodeString& path) const;
    // The selected entry, or null.
    QTreeWidgetItem* Selected() const;
    // After a rename: the entry and everything below it carry paths under its new name.
    void SetPaths(QTreeWidgetItem* item, const YUnicodeString& path);
    void UpdateButtons();

    SessionDatabaseImpl& sessions_;
    GlobalConfig* global_;
    QTreeWidget* tree_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* rename_ = nullptr;
    QPushButton* delete_ = nullptr;
    QIcon folderIcon_;
    QIcon sessionIcon_;
};

}  // namespace rivode::ui
