// rivode-gui's host prepared as its main() prepares it, over the test's own configuration folder.
#pragma once

#include "tests/support/TempFolder.h"
#include "ui/host/GuiHostSetup.h"

#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YQtUserInterface.h>
#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/LibraryEntry.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace rivode::test {

// Windows from the Qt half; message boxes recorded and answered with answer instead of shown,
// so a refusal or a question can be checked without a second window to drive.
class QtWindowsRecordedMessages : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest& request) override {
        messages.push_back(request.text);
        return answer;
    }
    int RunProgress(YProgressDialog& progress) override { return qt_->RunProgress(progress); }
    int RunDialog(YDialog& dialog) override { return qt_->RunDialog(dialog); }

    std::vector<YUnicodeString> messages;
    int answer = YID_OK;

private:
    std::shared_ptr<YUserInterface> qt_ = YCreateQtUserInterface();
};

class GuiHostTest : public ::testing::Test {
protected:
    GuiHostTest() {
        HostFolders folders;
        folders.main = FromUtf8(config_.Path());
        folders.source = HostFolderSource::CommandLine;
        ui::PrepareGuiHost(folders, ui::kGuiProduct);
        YSetUserInterface(recorder_);
    }
    ~GuiHostTest() override {
        YSetUserInterface(nullptr);
        RivodeRavudaVuCleanupForUnload();
    }

    TempFolder config_;
    std::shared_ptr<QtWindowsRecordedMessages> recorder_ =
        std::make_shared<QtWindowsRecordedMessages>();
};

}  // namespace rivode::test
