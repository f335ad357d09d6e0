#include "davaraze/qt/DialogWindow.h"
#include "davaraze/qt/MessageBoxWindow.h"
#include "davaraze/qt/ProgressWindow.h"
#include "davaraze/qt/PropertyTreeWindow.h"
#include "davaraze/qt/QtText.h"

#include <DavaraZE/YChoosers.h>
#include <DavaraZE/YPropertyTree.h>
#include <DavaraZE/YQtUserInterface.h>

#include <QFileDialog>
#include <QStringList>

namespace davaraze::qt {
namespace {

QString FilterText(const YFileFilterList& filters) {
    QStringList parts;
    for (const YFileFilter& filter : filters) {
        parts << YToQString(filter.name);
    }
    return parts.join(QStringLiteral(";;"));
}

QString StartPath(const YFileDialogRequest& request) {
    QString start = YToQString(request.initialFolder);
    if (!request.initialName.empty()) {
        start = start.isEmpty() ? YToQString(request.initialName)
                                : start + QLatin1Char('/') + YToQString(request.initialName);
    }
    return start;
}

class QtUserInterface : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest& request) override {
        return ShowQtMessageBox(request);
    }

    int RunProgress(YProgressDialog& progress) override { return RunQtProgress(progress); }

    int RunDialog(YDialog& dialog) override {
        if (auto* tree = dynamic_cast<YPropertyTreeDialog*>(&dialog)) {
            return RunQtPropertyTree(*tree);
        }
        const YDialogFormBuilder builder = YFindDialogForm(dialog.GetTemplateId());
        if (builder == nullptr) {
            return YID_CANCEL;
        }
        DialogWindow window(dialog, dialog.GetParent());
        builder(dialog, window);
        if (!dialog.OnInitDialog()) {
            return YID_CANCEL;
        }
        return window.Run();
    }

    bool ChooseFile(const YFileDialogRequest& request, YUnicodeString& path) override {
        QFileDialog chooser(request.parent, YToQString(request.title), StartPath(request),
                            FilterText(request.filters));
        chooser.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        chooser.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (!request.defaultExtension.empty()) {
            chooser.setDefaultSuffix(YToQString(request.defaultExtension));
        }
        if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
            return false;
        }
        path = YFromQString(chooser.selectedFiles().front());
        return true;
    }

    bool ChooseFolder(const YFolderRequest& request, YUnicodeString& folder) override {
        const QString chosen = QFileDialog::getExistingDirectory(
            request.parent, YToQString(request.title), YToQString(request.initialFolder));
        if (chosen.isEmpty()) {
            return false;
        }
        folder = YFromQString(chosen);
        return true;
    }
};

}  // namespace
}  // namespace davaraze::qt

std::shared_ptr<YUserInterface> YCreateQtUserInterface() {
    return std::make_shared<davaraze::qt::QtUserInterface>();
}
