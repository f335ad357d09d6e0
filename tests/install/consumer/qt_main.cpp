// A tiny Qt host of the installed Qt half: a dialog of its own, bound to a form and run modally
// offscreen; the form ends it once it shows, and the host prints how it ended.
#include <DavaraZE/YDialog.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YQtText.h>
#include <DavaraZE/YQtUserInterface.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

constexpr unsigned kTemplateId = 1;

void BuildForm(YDialog& dialog, QDialog& window) {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(YToQString(u"&Installed")));
    QTimer::singleShot(0, &window, [&dialog] { dialog.EndDialog(YID_OK); });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    YSetUserInterface(YCreateQtUserInterface());
    YRegisterDialogForm(kTemplateId, BuildForm);
    YDialog dialog(kTemplateId);
    const int result = dialog.DoModal();
    YSetUserInterface(nullptr);
    std::printf("%s\n", result == YID_OK ? "ended with OK" : "not ended");
    return result == YID_OK ? 0 : 1;
}
