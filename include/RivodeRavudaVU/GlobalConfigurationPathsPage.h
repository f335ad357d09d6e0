// Global Options "Configuration Paths": where the configuration folder is and whether personal
// data is kept in a folder of its own. Nothing changes for the running process: the folders
// and the pending migration or merge are recorded for this application (and its integrated
// sibling, ConfigFolders.h) and take effect at the next start.
#pragma once

#include <DavaraZE/YPropertyTree.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <vector>

#pragma GCC visibility push(default)

class GlobalConfigurationPathsPage : public YPropertyTreePage {
public:
    static constexpr unsigned kTemplateId = 5024;

    // configPath: the configuration folder in use. The other fields start from what is
    // recorded for this application.
    GlobalConfigurationPathsPage(int product, const YUnicodeString& configPath);

    // The fields the form exchanges.
    YUnicodeString configFolder;
    bool storePersonalDataSeparately = false;
    YUnicodeString personalDataFolder;

    static std::uint32_t GetConfigFolderTipId();
    static std::uint32_t GetPersonalDataFolderTipId();
    static YUnicodeString GetStoreSeparatelyLabel();
    // The browse buttons: a folder chooser starting at the field's folder.
    void OnBrowseConfigFolder();
    void OnBrowsePersonalDataFolder();

    // The check box was toggled. Turning it on asks for a migration at the next start and
    // cancels a pending merge, turning it off the reverse; back at the state the page opened
    // with, the pending flags are again those it opened with.
    void OnStorePersonalDataSeparately(bool on);
    bool GetPendingMigration() const { return pendingMigration_; }
    bool GetPendingMerge() const { return pendingMerge_; }

    // The rules of OK without showing anything. false with the refusal in report (the page
    // stays open, nothing recorded); true after recording every change, with notices holding
    // the ids of what the user is to be told (each takes the application's name).
    [[nodiscard]] bool Apply(std::vector<std::uint32_t>& notices, YReportMessageParams& report);
    // Apply, with the refusal or the notices shown in message boxes.
    bool OnOK() override;

private:
    int product_;
    YUnicodeString openedConfigFolder_;
    YUnicodeString openedPersonalDataFolder_;
    bool openedStoreSeparately_;
    bool openedMigration_;
    bool openedMerge_;
    bool pendingMigration_;
    bool pendingMerge_;
};

#pragma GCC visibility pop
