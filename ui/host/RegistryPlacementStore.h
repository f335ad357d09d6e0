// Window placements kept across runs of rivode-gui: each window's geometry is a binary value,
// named after the window's placement name, in the application's key of the per-user registry
// ("Software\Yarrowby\rivode\Window Placement"), beside the configuration folder it records.
#pragma once

#include <DavaraZE/YQtUserInterface.h>

namespace rivode::ui {

class RegistryPlacementStore : public YWindowPlacementStore {
public:
    bool LoadPlacement(const YUnicodeString& name, std::string& placement) override;
    // A placement that cannot be written is lost without a word: the window then opens where
    // the desktop puts it, which is no reason to bother the user.
    void SavePlacement(const YUnicodeString& name, const std::string& placement) override;
};

}  // namespace rivode::ui
