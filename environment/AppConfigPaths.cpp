// The per-user registry values that say where the configuration folder and the personal-data
// folder are, with the sibling rule of the save functions.
#include <RivodeRavudaVU/ConfigFolders.h>

#include <DavaraZE/YAppName.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SiblingProducts.h>
#include <RivodeRavudaVU/YRegistryStore.h>

#include "platform/FileSystem.h"

#include <optional>
#include <variant>
#include <vector>

namespace {

using rivode::EqualsNoCase;
using rivode::FromUtf8;
using rivode::ToUtf8;

constexpr std::u16string_view kAppKeyPrefix = u"Software\\Yarrowby\\";
constexpr std::u16string_view kOlderAppName = u"Global";

YUnicodeString AppKeyPath(const YUnicodeString& appName) {
    return YUnicodeString(kAppKeyPrefix) + appName;
}

std::optional<YUnicodeString> ReadString(const YUnicodeString& appName, std::u16string_view name) {
    if (appName.empty()) {
        return std::nullopt;
    }
    YRegistryStoreFactory factory(YRegistryHive::CurrentUser);
    YProfileStore store(true, &factory);
    const YProfileKey key(store.GetRootKey(), AppKeyPath(appName));
    YUnicodeString value;
    if (!key.GetString(name, value)) {
        return std::nullopt;
    }
    return value;
}

bool ReadFlag(const YUnicodeString& appName, std::u16string_view name) {
    if (appName.empty()) {
        return false;
    }
    YRegistryStoreFactory factory(YRegistryHive::CurrentUser);
    YProfileStore store(true, &factory);
    const YProfileKey key(store.GetRootKey(), AppKeyPath(appName));
    std::uint32_t value = 0;
    return key.GetDword(name, value) && value != 0;
}

bool HasValue(const YProfileKey& key, std::u16string_view name) {
    YUnicodeString text;
    std::uint32_t number = 0;
    return key.GetString(name, text) || key.GetDword(name, number);
}

using RegistryValue = std::variant<YUnicodeString, std::uint32_t>;

// Writes the value for this application and, by the sibling rule, for the sibling. Each key is
// its own value file, saved crash-safely by the store.
bool SaveValue(std::u16string_view name, const RegistryValue& value, int product, bool force,
               YReportMessageParams& report) {
    std::vector<YUnicodeString> apps{YGetAppName()};
    YUnicodeString sibling;
    if (IsIntegrated(product, sibling) && !EqualsNoCase(sibling, apps.front())) {
        apps.push_back(sibling);
    }
    YRegistryStoreFactory factory(YRegistryHive::CurrentUser);
    YProfileStore store(false, &factory);
    for (std::size_t i = 0; i < apps.size(); ++i) {
        if (apps[i].empty()) {
            continue;
        }
        const YProfileKey key(store.GetRootKey(), AppKeyPath(apps[i]));
        if (i > 0 && !force && HasValue(key, name)) {
            continue;  // the sibling keeps the folder it already has
        }
        const bool stored = std::holds_alternative<YUnicodeString>(value)
                                ? key.SetString(name, std::get<YUnicodeString>(value))
                                : key.SetDword(name, std::get<std::uint32_t>(value));
        if (!stored || !key.Flush()) {
            YReportMessageParams cause(key.GetStatus());
            WrapReport(report, rivode::msg::RegistryValueSaveFailed, {YUnicodeString(name)}, cause);
            return false;
        }
    }
    return true;
}

}  // namespace

YUnicodeString GetAppConfigPath(const YUnicodeString& appName) {
    return ReadString(appName, kConfigPathValue).value_or(YUnicodeString());
}

YUnicodeString GetAppConfigPathAlpha(int product) {
    YUnicodeString path = GetAppConfigPath(YUnicodeString(kOlderAppName));
    if (!path.empty()) {
        YReportMessageParams ignored;
        (void)SaveAppConfigPath(path, product, false, ignored);
    }
    return path;
}

YUnicodeString GetAppConfigPathUnderExe(const YUnicodeString& exeFolder) {
    if (exeFolder.empty()) {
        return {};
    }
    YUnicodeString folder = exeFolder;
    while (folder.size() > 1 && folder.back() == u'/') {
        folder.pop_back();
    }
    const YUnicodeString configFolder = folder + u"/Config";
    std::vector<rivode::platform::FolderEntry> entries;
    if (rivode::platform::FileSystem::Current().ListFolder(ToUtf8(configFolder), entries) != 0) {
        return {};
    }
    for (const auto& entry : entries) {
        if (!entry.isFolder && EqualsNoCase(FromUtf8(entry.name), u"global.ini")) {
            return configFolder;
        }
    }
    return {};
}

bool SaveAppConfigPath(const YUnicodeString& path, int product, bool force,
                       YReportMessageParams& report) {
    return SaveValue(kConfigPathValue, path, product, force, report);
}

YUnicodeString GetAppPersonalDataPathDefault(const YUnicodeString& configFolder) {
    return configFolder + u".personal";
}

YUnicodeString GetAppPersonalDataPathStored(const YUnicodeString& appName) {
    return ReadString(appName, kPersonalDataPathValue).value_or(YUnicodeString());
}

YUnicodeString GetAppPersonalDataPath(const YUnicodeString& appName,
                                      const YUnicodeString& configFolder) {
    YUnicodeString stored = GetAppPersonalDataPathStored(appName);
    return stored.empty() ? GetAppPersonalDataPathDefault(configFolder) : stored;
}

bool SaveAppPersonalDataPath(const YUnicodeString& path, int product, bool force,
                             YReportMessageParams& report) {
    return SaveValue(kPersonalDataPathValue, path, product, force, report);
}

bool UsePersonalDataPath(const YUnicodeString& appName) {
    return ReadFlag(appName, kStorePersonalDataSeparatelyValue);
}

bool SaveUsePersonalDataPath(bool value, int product, bool force, YReportMessageParams& report) {
    return SaveValue(kStorePersonalDataSeparatelyValue, std::uint32_t{value}, product, force,
                     report);
}

bool DoPersonalDataMigration(const YUnicodeString& appName) {
    return ReadFlag(appName, kDoPersonalDataMigrationValue);
}

bool SaveDoPersonalDataMigration(bool value, int product, bool force,
                                 YReportMessageParams& report) {
    return SaveValue(kDoPersonalDataMigrationValue, std::uint32_t{value}, product, force, report);
}

bool DoPersonalDataMerge(const YUnicodeString& appName) {
    return ReadFlag(appName, kDoPersonalDataMergeValue);
}

bool SaveDoPersonalDataMerge(bool value, int product, bool force, YReportMessageParams& report) {
    return SaveValue(kDoPersonalDataMergeValue, std::uint32_t{value}, product, force, report);
}
