// A user-interface back end for tests: records every message box that reaches it and answers
// with a chosen button; the optional message box's check box is ticked. Dialogs are recorded by
// template id and answered with a chosen result (Cancel, as without a window back end).
#pragma once

#include <DavaraZE/YDialog.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YUserInterface.h>

#include <vector>

namespace rivode::test {

class RecordingUserInterface final : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest& request) override {
        shown.push_back(request);
        if (request.suppressed != nullptr) {
            *request.suppressed = true;
        }
        return answer;
    }
    int RunProgress(YProgressDialog&) override { return 0; }
    int RunDialog(YDialog& dialog) override {
        dialogs.push_back(dialog.GetTemplateId());
        return dialogAnswer;
    }

    std::vector<YMessageBoxRequest> shown;
    int answer = YID_OK;
    std::vector<unsigned> dialogs;
    int dialogAnswer = YID_CANCEL;
};

}  // namespace rivode::test
