#include <DavaraZE/YUserInterface.h>

#include <mutex>

namespace {

std::mutex userInterfaceMutex;
std::shared_ptr<YUserInterface> currentUserInterface;

}  // namespace

int YUserInterface::RunDialog(YDialog&) {
    return YID_CANCEL;
}

bool YUserInterface::ChooseFile(const YFileDialogRequest&, YUnicodeString&) {
    return false;
}

bool YUserInterface::ChooseFolder(const YFolderRequest&, YUnicodeString&) {
    return false;
}

bool YUserInterface::CreateCertificate(QWidget*, YUnicodeString&) {
    return false;
}

void YSetUserInterface(std::shared_ptr<YUserInterface> userInterface) {
    std::lock_guard lock(userInterfaceMutex);
    currentUserInterface = std::move(userInterface);
}

std::shared_ptr<YUserInterface> YGetUserInterface() {
    std::lock_guard lock(userInterfaceMutex);
    if (!currentUserInterface) {
        currentUserInterface = YCreateConsoleUserInterface();
    }
    return currentUserInterface;
}
