// A user-interface back end for tests: records every message box that reaches it and answers
// with a chosen button; the optional message box's check box is ticked.
#pragma once

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

    std::vector<YMessageBoxRequest> shown;
    int answer = YID_OK;
};

}  // namespace rivode::test
