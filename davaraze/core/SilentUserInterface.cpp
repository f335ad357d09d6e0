#include <DavaraZE/YProgressDialog.h>
#include <DavaraZE/YUserInterface.h>

namespace {

class SilentUserInterface final : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest& request) override {
        return YMessageBoxSafeAnswer(request.style);
    }

    int RunProgress(YProgressDialog& progress) override {
        YProgressDialog::State state = progress.GetState();
        while (!state.closed) {
            state = progress.WaitForChange(state.generation, std::chrono::seconds(1));
        }
        return state.result;
    }
};

}  // namespace

std::shared_ptr<YUserInterface> YCreateSilentUserInterface() {
    return std::make_shared<SilentUserInterface>();
}
