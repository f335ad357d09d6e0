#include "SessionsWindow.h"

#include <DavaraZE/YQtText.h>
#include <RivodeRavudaVU/ProfileFolderData.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace rivode::ui {
namespace {

// Room for this many average characters across and entries down before the user resizes.
constexpr int kWidthInCharacters = 40;
constexpr int kHeightInEntries = 20;

}  // namespace

SessionsWindow::SessionsWindow(SessionDatabaseImpl& sessions, const QString& configFolder,
                               QWidget* parent)
    : QWidget(parent), sessions_(sessions) {
    setObjectName(QStringLiteral("sessions"));
    YReportMessageParams title(rivode::msg::GuiSessionsTitle);
    title.AddString(YFromQString(configFolder));
    setWindowTitle(QString::fromUtf16(title.GetTextTrimmed()));

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("sessionTree"));
    tree_->header()->hide();
    tree_->setColumnCount(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    Reload();
    const QFontMetrics metrics = tree_->fontMetrics();
    resize(metrics.averageCharWidth() * kWidthInCharacters, metrics.height() * kHeightInEntries);
}

void SessionsWindow::Reload() {
    tree_->clear();
    AddFolder({}, nullptr);
    tree_->expandAll();
}

void SessionsWindow::AddFolder(const std::u16string& path, QTreeWidgetItem* parent) {
    ProfileFolderData listing;
    if (!sessions_.ListFolder(path, listing)) {
        return;  // removed since its parent was listed
    }
    const auto addItem = [&](const YUnicodeString& name, bool isFolder) {
        auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
        const YUnicodeString itemPath = path.empty() ? name : path + u'\\' + name;
        item->setText(0, YToQString(name));
        item->setData(0, kPathRole, YToQString(itemPath));
        item->setData(0, kIsFolderRole, isFolder);
        item->setIcon(0,
                      style()->standardIcon(isFolder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon));
        return item;
    };
    for (const YUnicodeString& folder : listing.GetFolders()) {
        QTreeWidgetItem* item = addItem(folder, true);
        AddFolder(path.empty() ? folder : path + u'\\' + folder, item);
    }
    for (const YUnicodeString& session : listing.GetSessions()) {
        addItem(session, false);
    }
}

}  // namespace rivode::ui
