// The sessions window: the session tree of the configuration in the user's order, folders
// before sessions in each folder, as the session lists of the products show it.
#pragma once

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class SessionDatabaseImpl;

namespace rivode::ui {

class SessionsWindow : public QWidget {
public:
    // sessions must outlive the window. The title names the configuration folder.
    SessionsWindow(SessionDatabaseImpl& sessions, const QString& configFolder,
                   QWidget* parent = nullptr);

    // Reads the tree again from the session database.
    void Reload();

    // Item path of an entry ("Work\Jump"); the tree's items carry it for the later commands.
    static constexpr int kPathRole = Qt::UserRole;
    static constexpr int kIsFolderRole = Qt::UserRole + 1;

private:
    void AddFolder(const std::u16string& path, QTreeWidgetItem* parent);

    SessionDatabaseImpl& sessions_;
    QTreeWidget* tree_ = nullptr;
};

}  // namespace rivode::ui
