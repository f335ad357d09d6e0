#include "davaraze/qt/WindowPlacement.h"

#include <DavaraZE/YQtUserInterface.h>

#include <QByteArray>
#include <QWidget>

#include <map>
#include <mutex>

namespace {

// Placements for the life of the process: a dialog opened twice in one run opens where the
// user left it.
class ProcessPlacementStore : public YWindowPlacementStore {
public:
    bool LoadPlacement(const YUnicodeString& name, std::string& placement) override {
        std::lock_guard lock(mutex_);
        const auto found = placements_.find(name);
        if (found == placements_.end()) {
            return false;
        }
        placement = found->second;
        return true;
    }
    void SavePlacement(const YUnicodeString& name, const std::string& placement) override {
        std::lock_guard lock(mutex_);
        placements_[name] = placement;
    }

private:
    std::mutex mutex_;
    std::map<YUnicodeString, std::string, rivode::LessNoCase> placements_;
};

std::mutex storeMutex;
std::shared_ptr<YWindowPlacementStore> currentStore;

}  // namespace

void YSetWindowPlacementStore(std::shared_ptr<YWindowPlacementStore> store) {
    std::lock_guard lock(storeMutex);
    currentStore = std::move(store);
}

std::shared_ptr<YWindowPlacementStore> YGetWindowPlacementStore() {
    std::lock_guard lock(storeMutex);
    if (!currentStore) {
        currentStore = std::make_shared<ProcessPlacementStore>();
    }
    return currentStore;
}

namespace davaraze::qt {

void RestorePlacement(QWidget& window, const YUnicodeString& name) {
    std::string placement;
    if (name.empty() || !YGetWindowPlacementStore()->LoadPlacement(name, placement)) {
        return;
    }
    const QByteArray bytes(placement.data(), static_cast<qsizetype>(placement.size()));
    // A placement saved on a screen that is gone would open the window out of reach; Qt
    // moves a restored geometry onto the screens present, and refuses bytes it cannot read.
    (void)window.restoreGeometry(bytes);
}

void KeepPlacement(const QWidget& window, const YUnicodeString& name) {
    if (name.empty()) {
        return;
    }
    const QByteArray bytes = window.saveGeometry();
    YGetWindowPlacementStore()->SavePlacement(
        name, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace davaraze::qt
