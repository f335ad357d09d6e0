// rivode-gui: the library's dialogs in a Qt Widgets host.
#include "GuiHostSetup.h"
#include "GuiOptions.h"
#include "RegistryPlacementStore.h"
#include "Screenshot.h"
#include "SessionOptionsCommand.h"
#include "SessionsWindow.h"

#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/LibraryEntry.h>
#include <RivodeRavudaVU/SessionDatabase.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

int Usage(const std::string& problem) {
    std::fprintf(stderr, "rivode-gui: %s\n", problem.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    rivode::ui::GuiOptions options;
    std::string problem;
    if (!rivode::ui::ParseGuiArguments(arguments, options, problem)) {
        return Usage(problem);
    }
    if (options.command == rivode::ui::GuiCommand::Help) {
        std::fputs(rivode::ui::GuiUsage(), stdout);
        return 0;
    }
    // A screenshot needs no display: the window is rendered in memory whatever the desktop.
    if (!options.screenshot.empty()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);

    HostFolders folders;
    if (!options.configFolder.empty()) {
        folders.main = options.configFolder;
        folders.source = HostFolderSource::CommandLine;
    }
    // Notices of a moved configuration go where rivode-gui's other problems go.
    FindHostFolders(
        YUnicodeString(rivode::ui::kGuiAppName), rivode::ui::kGuiProduct,
        [](YReportMessageParams& notice) {
            std::fprintf(stderr, "rivode-gui: %s\n",
                         rivode::ToUtf8(notice.GetSingleLineTextTrimmed()).c_str());
        },
        folders);
    rivode::ui::PrepareGuiHost(folders, rivode::ui::kGuiProduct);
    // Windows open where the user left them last time; a screenshot shows them as they are made.
    if (options.screenshot.empty()) {
        YSetWindowPlacementStore(std::make_shared<rivode::ui::RegistryPlacementStore>());
    }

    int status = 0;
    if (options.command == rivode::ui::GuiCommand::Session ||
        options.command == rivode::ui::GuiCommand::Default) {
        status = rivode::ui::RunSessionOptions(options, problem);
        if (status != 0) {
            std::fprintf(stderr, "rivode-gui: %s\n", problem.c_str());
        }
    } else {
        if (!rivode::ui::LoadProtocolModules(problem)) {
            std::fprintf(stderr, "rivode-gui: %s\n", problem.c_str());
            RivodeRavudaVuCleanupForUnload();
            return 1;
        }
        const YRefPtr<GlobalConfig> global = GetGlobalConfig();
        rivode::ui::SessionsWindow window(*GetSessionDatabaseImpl(), global.get(),
                                          QString::fromStdU16String(folders.main));
        window.show();
        if (options.screenshot.empty()) {
            status = application.exec();
        } else {
            QApplication::processEvents();
            if (!rivode::ui::SaveScreenshot(window, options.screenshot, problem)) {
                std::fprintf(stderr, "rivode-gui: %s\n", problem.c_str());
                status = 1;
            }
        }
    }
    RivodeRavudaVuCleanupForUnload();
    return status;
}
