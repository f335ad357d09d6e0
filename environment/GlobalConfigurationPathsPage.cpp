#include <RivodeRavudaVU/GlobalConfigurationPathsPage.h>

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YChoosers.h>
#include <DavaraZE/YConfigFolder.h>
#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/RivodeMessages.h>

namespace msg = rivode::msg;

namespace {

// Folders compare as typed, except for trailing separators ("/cfg/" is "/cfg").
YUnicodeString WithoutTrailingSeparators(YUnicodeString folder) {
    while (folder.size() > 1 && (folder.back() == u'/' || folder.back() == u'\\')) {
        folder.pop_back();
    }
    return folder;
}

bool SameFolder(const YUnicodeString& a, const YUnicodeString& b) {
    return WithoutTrailingSeparators(a) == WithoutTrailingSeparators(b);
}

}  // namespace

GlobalConfigurationPathsPage::GlobalConfigurationPathsPage(int product,
                                                           const YUnicodeString& configPath)
    : YPropertyTreePage(kTemplateId, LoadMessageString(msg::ConfigurationPathsPageName)),
      configFolder(configPath),
      product_(product),
      openedConfigFolder_(configPath) {
    const YUnicodeString appName = YGetAppName();
    storePersonalDataSeparately = openedStoreSeparately_ = UsePersonalDataPath(appName);
    personalDataFolder = openedPersonalDataFolder_ = GetAppPersonalDataPath(appName, configPath);
    pendingMigration_ = openedMigration_ = DoPersonalDataMigration(appName);
    pendingMerge_ = openedMerge_ = DoPersonalDataMerge(appName);
}

std::uint32_t GlobalConfigurationPathsPage::GetConfigFolderTipId() {
    return msg::BrowseConfigFolderTip;
}

std::uint32_t GlobalConfigurationPathsPage::GetPersonalDataFolderTipId() {
    return msg::BrowsePersonalDataFolderTip;
}

YUnicodeString GlobalConfigurationPathsPage::GetStoreSeparatelyLabel() {
    return LoadMessageString(msg::StorePersonalDataSeparatelyLabel);
}

void GlobalConfigurationPathsPage::OnBrowseConfigFolder() {
    OnBrowseLocalFolderHelper(nullptr, LoadMessageString(msg::SelectConfigFolderTitle),
                              configFolder);
}

void GlobalConfigurationPathsPage::OnBrowsePersonalDataFolder() {
    OnBrowseLocalFolderHelper(nullptr, LoadMessageString(msg::SelectPersonalDataFolderTitle),
                              personalDataFolder);
}

void GlobalConfigurationPathsPage::OnStorePersonalDataSeparately(bool on) {
    storePersonalDataSeparately = on;
    if (on == openedStoreSeparately_) {
        pendingMigration_ = openedMigration_;
        pendingMerge_ = openedMerge_;
    } else {
        pendingMigration_ = on;
        pendingMerge_ = !on;
    }
}

bool GlobalConfigurationPathsPage::Apply(std::vector<std::uint32_t>& notices,
                                         YReportMessageParams& report) {
    // Every check comes before the first change is recorded, so a refusal records nothing.
    const bool configChanged = !SameFolder(configFolder, openedConfigFolder_);
    if (configChanged && !IsValidConfigFolder(WithoutTrailingSeparators(configFolder), report)) {
        return false;
    }
    if (storePersonalDataSeparately && personalDataFolder.empty()) {
        personalDataFolder = GetAppPersonalDataPathDefault(WithoutTrailingSeparators(configFolder));
    }
    const bool personalChanged = !SameFolder(personalDataFolder, openedPersonalDataFolder_);
    if (storePersonalDataSeparately && SameFolder(personalDataFolder, configFolder)) {
        report.SetMessage(msg::PersonalDataFolderSameAsConfig);
        return false;
    }
    // A folder personal data is about to move to must be one it can be written in.
    if (storePersonalDataSeparately && (personalChanged || !openedStoreSeparately_) &&
        !IsValidConfigFolder(WithoutTrailingSeparators(personalDataFolder), report)) {
        return false;
    }

    if (configChanged) {
        if (!SaveAppConfigPath(WithoutTrailingSeparators(configFolder), product_, true, report)) {
            return false;
        }
        notices.push_back(msg::ConfigFolderChangeAtRestart);
    }
    if (personalChanged && !personalDataFolder.empty()) {
        if (!SaveAppPersonalDataPath(WithoutTrailingSeparators(personalDataFolder), product_, true,
                                     report)) {
            return false;
        }
        notices.push_back(msg::PersonalDataFolderChangeAtRestart);
    }
    // The pending flags follow the check box even when the form set the field directly.
    OnStorePersonalDataSeparately(storePersonalDataSeparately);
    if (storePersonalDataSeparately != openedStoreSeparately_) {
        if (!SaveUsePersonalDataPath(storePersonalDataSeparately, product_, true, report) ||
            !SaveDoPersonalDataMigration(pendingMigration_, product_, true, report) ||
            !SaveDoPersonalDataMerge(pendingMerge_, product_, true, report)) {
            return false;
        }
    }
    return true;
}

bool GlobalConfigurationPathsPage::OnOK() {
    std::vector<std::uint32_t> notices;
    YReportMessageParams report;
    if (!Apply(notices, report)) {
        YMessageBox(report, YMB_ICONWARNING);
        return false;
    }
    for (const std::uint32_t id : notices) {
        YReportMessageParams notice(id);
        notice.AddString(YGetAppName());
        YMessageBox(notice);
    }
    return true;
}
